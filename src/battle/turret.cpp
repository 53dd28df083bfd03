#include "battle/turret.h"
#include "app/game.h"
#include "battle/battle_math.h"
#include "battle/combat.h"
#include "content/config.h"
#include "content/factions.h"

#include <algorithm>
#include <cmath>

Turret::Turret(bool player_side, int unit_lane) : lane(unit_lane), body(0, 30), barrel({0, 0}) {
    is_player = player_side ? 1 : 0;
    hp = static_cast<float>(turretInt(player_side, "hp", 1));
    range = turretFloat(player_side, "range", 90);
    armor = turretInt(player_side, "armor", 0);
    range = turretFloat(player_side, "range", 90);  // the unit keys have always read range twice
    damage = turretFloat(player_side, "damage", 1.0f);
    fire_rate = turretFloat(player_side, "fire_rate", 0.6f);
    dodge = turretFloat(player_side, "dodge", 0);
    move_speed = turretFloat(player_side, "move_speed", 55);

    radius = turretFloat(player_side, "base_radius", 12);
    float outline = turretFloat(player_side, "base_outline_thickness", 2);
    float barrel_width = turretFloat(player_side, "barrel/width", 4);
    float barrel_length = turretFloat(player_side, "barrel/length", 20);
    float barrel_outline = turretFloat(player_side, "barrel/outline_thickness", 1);

    body.setRadius(radius);
    body.setOrigin({radius, radius});
    body.setFillColor(turretColor(player_side, "body_color"));
    body.setOutlineThickness(outline);
    body.setOutlineColor(turretColor(player_side, "body_outline_color"));
    barrel.setSize({barrel_width, barrel_length});
    barrel.setOrigin({barrel_width / 2, barrel_length});
    barrel.setFillColor(turretColor(player_side, "barrel/color"));
    barrel.setOutlineThickness(barrel_outline);
    barrel.setOutlineColor(turretColor(player_side, "barrel/outline_color"));
}

Turret* findUnit(Game& game, UnitId id) {
    if (id == kNoUnit) return nullptr;
    for (auto* list : {&game.player_turrets, &game.enemy_turrets})
        for (Turret& unit : *list)
            if (unit.id == id) return &unit;
    return nullptr;
}

namespace {
constexpr float kSpawnClearance = 15.0f;  // an enemy spawn point is blocked closer than this

bool isLane(int lane) { return lane >= 0 && lane < 3; }

// A new unit of a side's faction at a spawn point: colour, weapon and the faction's
// stats; the side's shell speed and lifetime follow the faction too.
Turret makeFactionUnit(Game& game, bool player_side, int lane, sf::Vector2f point) {
    int faction = player_side ? game.player_faction : game.enemy_faction;
    const char* key = factionConfigKey(faction);
    Turret unit(player_side, lane);
    placeUnit(unit, point);
    unit.body.setFillColor(factionColour(faction));
    unit.last_track_pos = point;
    unit.weapon = factionRules(faction).weapon;
    unit.hp = factionStat(player_side, key, "hp", 1.0f);
    unit.range = factionStat(player_side, key, "range", 90);
    unit.damage = factionStat(player_side, key, "damage", 1.0f);
    unit.fire_rate = factionStat(player_side, key, "fire_rate", 0.6f);
    unit.dodge = factionStat(player_side, key, "dodge", 0);
    unit.move_speed = factionStat(player_side, key, "move_speed", 55);
    float& speed = player_side ? game.player_projectile_speed : game.enemy_projectile_speed;
    float& lifetime = player_side ? game.player_projectile_lifetime : game.enemy_projectile_lifetime;
    speed = factionStat(player_side, key, "projectile_speed", 1000);
    lifetime = factionStat(player_side, key, "projectile_lifetime", 1.0f);
    unit.id = game.next_unit_id++;
    return unit;
}

void addBonuses(Turret& unit, const UpgradeState& bonus) {
    unit.range += bonus.range_bonus;
    unit.fire_rate = std::max(0.02f, unit.fire_rate - bonus.fire_rate_bonus);
    unit.dodge = std::min(0.9f, unit.dodge + bonus.dodge_bonus);
    unit.move_speed += bonus.move_speed_bonus;
}

// Heard, and a unit of the player's is announced to the peer with the money it left.
void recordSpawn(Game& game, float x, bool player_side, int lane) {
    BattleEvent spawned{BattleEventKind::UnitSpawned, x};
    spawned.side = player_side ? 0 : 1;
    spawned.lane = std::uint8_t(lane);
    spawned.money = game.player_money;
    game.events.push_back(spawned);
}

bool spawnPointTaken(const Game& game, int lane, sf::Vector2f point) {
    for (const auto* list : {&game.player_turrets, &game.enemy_turrets})
        for (const Turret& unit : *list) {
            sf::Vector2f d = unit.position - point;
            if (unit.lane == lane && battleHypot(d.x, d.y) < kSpawnClearance) return true;
        }
    return false;
}
}  // namespace

void spawnPlayerTurret(Game& game, int lane) {
    if (!isLane(lane)) return;
    float cost = unitPrice(game.player_faction);
    if (cost > game.player_money) return;
    game.player_money -= cost;
    sf::Vector2f point(game.lane_x[lane], game.player_spawn_y);
    game.player_turrets.push_back(makeFactionUnit(game, true, lane, point));
    game.player_turrets.back().net_number = numberSpawn(game.sync, true, false);
    applyPlayerUpgrades(game);
    recordSpawn(game, point.x, true, lane);
}

void spawnEnemyTurret(Game& game, int lane, bool from_spawn_keys) {
    if (!isLane(lane)) return;
    // In a network game the peer has already paid for this unit on its side.
    if (!game.network_mode) {
        float cost = unitPrice(game.enemy_faction);
        if (cost > game.enemy_money) return;
        game.enemy_money -= cost;
    }
    // A spawn dropped here still takes its number, so the later ones keep pairing with
    // the peer's; the host's next snapshot brings the missing unit.
    std::uint16_t number = numberSpawn(game.sync, false, from_spawn_keys);
    sf::Vector2f point(game.lane_x[lane], game.enemy_spawn_y);
    if (spawnPointTaken(game, lane, point)) return;  // the price stays paid
    game.enemy_turrets.push_back(makeFactionUnit(game, false, lane, point));
    game.enemy_turrets.back().net_number = number;
    recordSpawn(game, point.x, false, lane);
}

Turret& addSyncedUnit(Game& game, bool player_side, int lane, sf::Vector2f point, std::uint16_t number) {
    std::vector<Turret>& units = player_side ? game.player_turrets : game.enemy_turrets;
    units.push_back(makeFactionUnit(game, player_side, lane, point));
    Turret& unit = units.back();
    unit.net_number = number;
    if (player_side) {
        // What a spawn gives a new unit of the player's, and the side's shells: the
        // bonuses bought so far.
        game.player_projectile_speed += game.player_upgrades.projectile_speed_bonus;
        updateLasers(game);
        addBonuses(unit, game.player_upgrades);
    }
    return unit;
}

void applyPlayerUpgrades(Game& game) {
    const UpgradeState& bonus = game.player_upgrades;
    game.player_projectile_speed += bonus.projectile_speed_bonus;
    updateLasers(game);
    // The bonuses are running totals added to current values, so every spawn and
    // purchase gives the older units the whole bonus again.
    for (Turret& unit : game.player_turrets) addBonuses(unit, bonus);
}
