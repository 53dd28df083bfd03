#include "battle/turret.h"
#include "app/game.h"
#include "content/config.h"
#include "content/factions.h"

Turret::Turret(bool player_side, int unit_lane) : body(0, 30), barrel({0, 0}), lane(unit_lane) {
    is_player = player_side ? 1 : 0;
    hp = static_cast<float>(turretInt(player_side, "hp", 1));
    range = turretFloat(player_side, "range", 90);
    armor = turretInt(player_side, "armor", 0);
    range = turretFloat(player_side, "range", 90);  // the unit keys have always read range twice
    damage = turretFloat(player_side, "damage", 1.0f);
    fire_rate = turretFloat(player_side, "fire_rate", 0.6f);
    dodge = turretFloat(player_side, "dodge", 0);
    move_speed = turretFloat(player_side, "move_speed", 55);

    float radius = turretFloat(player_side, "base_radius", 12);
    float outline = turretFloat(player_side, "base_outline_thickness", 2);
    float barrel_width = turretFloat(player_side, "barrel/width", 4);
    float barrel_length = turretFloat(player_side, "barrel/length", 20);
    float barrel_outline = turretFloat(player_side, "barrel/outline_thickness", 1);

    body.setRadius(radius);
    body.setOrigin(radius, radius);
    body.setFillColor(turretColor(player_side, "body_color"));
    body.setOutlineThickness(outline);
    body.setOutlineColor(turretColor(player_side, "body_outline_color"));
    barrel.setSize({barrel_width, barrel_length});
    barrel.setOrigin(barrel_width / 2, barrel_length);
    barrel.setFillColor(turretColor(player_side, "barrel/color"));
    barrel.setOutlineThickness(barrel_outline);
    barrel.setOutlineColor(turretColor(player_side, "barrel/outline_color"));
}

sf::Color factionColour(int faction) {
    static const sf::Color kColours[kFactionCount] = {sf::Color(255, 0, 0, 255), sf::Color(255, 255, 0, 255),
                                                      sf::Color(0, 0, 255, 255), sf::Color(128, 0, 128, 255),
                                                      sf::Color(255, 255, 255, 255)};
    return isFaction(faction) ? kColours[faction] : sf::Color(255, 255, 255, 255);
}

int factionWeapon(int faction) {
    if (faction == Yellow) return RocketLauncher;
    if (faction == White) return Laser;
    return Cannon;
}

Turret* findUnit(Game& game, UnitId id) {
    if (id == kNoUnit) return nullptr;
    for (auto* list : {&game.player_turrets, &game.enemy_turrets})
        for (Turret& unit : *list)
            if (unit.id == id) return &unit;
    return nullptr;
}

void spawnPlayerTurret(Game& game, int lane) {
    (void)game;
    (void)lane;
}

void spawnEnemyTurret(Game& game, int lane) {
    (void)game;
    (void)lane;
}

void applyPlayerUpgrades(Game& game) { (void)game; }
