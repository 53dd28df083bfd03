#include "app/game.h"
#include "app/sfml_compat.h"
#include "battle/battle_math.h"
#include "battle/combat.h"
#include "battle/unit_grid.h"
#include "content/factions.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kBaseChargeInterval = 0.6f;  // seconds between two charges of one unit
constexpr float kArrivalDistance = 5.0f;     // a commanded move ends this close to its point
constexpr float kNoTarget = 1e9f;

// What differs between the player's pass and the enemy's: the mirror of the field.
struct PassSide {
    std::vector<Turret>& own;
    std::vector<Turret>& opponents;
    float& opposing_money;
    float& opposing_base_damage;
    int opposing_faction;
    float forward;  // y direction of advance: -1 for the player, +1 for the enemy
    // Both sides' grids, looked up once: no unit joins or leaves in the pass. The
    // opponents' also stand still through it.
    SideGrids grids;
    const UnitGrid* own_grid = nullptr;
    const UnitGrid* opponent_grid = nullptr;
};

// For every opponent, how many own units of its lane can reach it.
void countAttackers(const Game& game, const PassSide& side, std::vector<int>& counts) {
    counts.assign(side.opponents.size(), 0);
    float opponent_radius = side.opponent_grid ? side.opponent_grid->max_radius : 0;
    for (const Turret& unit : side.own) {
        // canReach fails beyond the firing reach past both hulls.
        float reach = fireReach(game, unit);
        float radius = (reach > 0 ? reach : 0) + unit.radius + opponent_radius;
        forEachNear(side.opponent_grid, side.opponents, unit.position, radius, [&](int i) {
            const Turret& opponent = side.opponents[size_t(i)];
            if (unit.lane == opponent.lane && reachesEdge(reach, edgeDistance(unit, opponent))) ++counts[size_t(i)];
        });
    }
}

// The nearest opponent by edge distance among those in the lane and those of other lanes
// that are not yet covered by enough attackers; -1 with none.
int chooseTarget(const Game& game, const PassSide& side, const Turret& unit, const std::vector<int>& counts) {
    // With nobody in the lane only opponents within firing reach can be chosen.
    float reach = fireReach(game, unit);
    float limit = INFINITY;
    if (unitsInLane(side.opponent_grid, unit.lane) == 0) limit = reach > 0 ? reach : 0;
    return nearestNear(side.opponent_grid, side.opponents, unit.position, unit.radius, limit, kNoTarget,
                       [&](int i, float& edge) {
                           const Turret& opponent = side.opponents[size_t(i)];
                           bool in_lane = opponent.lane == unit.lane;
                           if (!in_lane && counts[size_t(i)] >= int(float(opponent.armor) + opponent.hp)) return false;
                           // One root serves both the reach test and the score.
                           float distance = edgeDistance(unit, opponent);
                           if (!in_lane && !reachesEdge(reach, distance)) return false;
                           edge = distance;
                           return true;
                       });
}

void turnBarrel(Turret& unit, sf::Vector2f aim) {
    sf::Vector2f position = unit.position;
    LengthOrder order = compareLength(aim - position, 0.001f);
    if (order == kShorter || order == kEqualLength) return;
    float degrees = battleAtan2(aim.y - position.y, aim.x - position.x) * 180.0f / kPi + 90.0f;
    // The remainder of a heading within a turn is the heading itself, which saves the division.
    if (!(std::abs(degrees) < 360.0f)) degrees = std::fmod(degrees, 360.0f);
    unit.barrel_degrees = degrees < 0 ? degrees + 360.0f : degrees;
}

// Sideways step away from incoming shots, weighted by how soon each arrives.
sf::Vector2f evasiveStep(Game& game, const Turret& unit, float dt, std::vector<Threat>& threats) {
    sf::Vector2f position = unit.position;
    collectThreats(game, position, unit.radius, unit.is_player, threats);
    sf::Vector2f away;
    float total = 0;
    for (const Threat& threat : threats) {
        float w = std::min(5.0f, 1.0f / (threat.time + 0.1f));
        sf::Vector2f normal(-threat.dir_y * w, threat.dir_x * w);
        float side = threat.dir_y * (threat.x - position.x) - threat.dir_x * (threat.y - position.y);
        away += side <= 0 ? -normal : normal;
        total += w;
    }
    if (total <= 0) return {};
    away /= total;
    float size = vectorLength(away);
    if (size > 0.001f) away /= size;
    if (std::abs(away.x) > 0.1f || std::abs(away.y) > 0.1f) return away * unit.move_speed * dt * 0.8f;
    return {};
}

// The forward step while fighting a unit: keep at reach, fall back from a longer-ranged foe.
// Returns false when the unit holds its place.
bool engagedStep(const Game& game, const PassSide& side, const Turret& unit, const Turret& target,
                 sf::Vector2f probe, float step, float& v) {
    float reach = movementReach(game, unit);
    float edge = edgeDistance(unit, target);
    float target_range = target.range;
    bool reaches_us = edge <= target_range;
    if (edge > reach) {
        if (reaches_us) {
            v = -side.forward * step;
            return true;
        }
        if (edgeDistance(probe, unit.radius, target) > reach) return false;
        v = side.forward * step;
        return true;
    }
    if (!reaches_us) return false;
    v = reach < target_range ? side.forward * step : -side.forward * step * 0.7f;
    return true;
}

// Towards the nearest opponent of the lane, else of any lane, else straight ahead.
bool freeStep(const PassSide& side, const Turret& unit, float step, sf::Vector2f& move) {
    sf::Vector2f position = unit.position;
    auto distanceTo = [&](int i) { return vectorLength(side.opponents[size_t(i)].position - position); };
    const UnitGrid* grid = side.opponent_grid;
    int nearest = -1;
    if (unitsInLane(grid, unit.lane) != 0)
        nearest = nearestNear(grid, side.opponents, position, 0, INFINITY, INFINITY, [&](int i, float& distance) {
            if (side.opponents[size_t(i)].lane != unit.lane) return false;
            distance = distanceTo(i);
            return true;
        });
    if (nearest < 0)
        nearest = nearestNear(grid, side.opponents, position, 0, INFINITY, INFINITY, [&](int i, float& distance) {
            distance = distanceTo(i);
            return true;
        });
    if (nearest < 0) {
        move = sf::Vector2f(0, side.forward * step);
        return true;
    }
    float best = distanceTo(nearest);
    if (best <= 1) return false;
    move = (side.opponents[size_t(nearest)].position - position) / best * step;
    return true;
}

void moveUnit(Game& game, const PassSide& side, Turret& unit, const Turret* target, bool engaged,
              bool base_attack, float dt, std::vector<Threat>& threats) {
    sf::Vector2f position = unit.position;
    float step = unit.move_speed * dt;
    sf::Vector2f probe(position.x, position.y + side.forward * step);
    // Blocked in front: no advance and no sidestep either. Every test here only looks, so
    // the cheapest that can keep the unit in place is asked first.
    auto probeFree = [&] {
        const WorldBounds& bounds = game.world_bounds;
        return bounds.min_y + 10 <= probe.y && probe.y <= bounds.max_y - 10 &&
               !isBlocked(game, side.grids, probe, unit.lane, &unit);
    };
    if (engaged && base_attack) return;

    sf::Vector2f move;
    if (engaged) {
        float v = 0;
        if (!engagedStep(game, side, unit, *target, probe, step, v) || !probeFree()) return;
        move = sf::Vector2f(0, v);
    } else if (!probeFree() || !freeStep(side, unit, step, move)) {
        return;
    }
    // Dodging shots is worked out only for a unit that does step.
    sf::Vector2f steer = evasiveStep(game, unit, dt, threats);
    sf::Vector2f next = clampIntoField(game, position + steer + move);
    if (!isBlocked(game, side.grids, next, unit.lane, &unit)) placeUnit(unit, next);
}

void chargeBase(const PassSide& side, Turret& unit) {
    if (unit.base_hit_clock.elapsedSeconds() <= kBaseChargeInterval) return;
    float factor = factionRules(side.opposing_faction).base_charge_factor;
    side.opposing_money -= factor * unit.damage;
    side.opposing_base_damage += factor * unit.damage;
    unit.base_hit_clock.restart();
}

void updateUnit(Game& game, const PassSide& side, Turret& unit, const std::vector<int>& counts, float dt,
                std::vector<Threat>& threats) {
    if (unit.move_order) {
        sf::Vector2f d = unit.move_target - unit.position;
        float distance = vectorLength(d);
        // A long frame ends the drive on the point: a step past it would swing the unit
        // about the point without ever coming within the arrival distance.
        if (distance <= kArrivalDistance)
            unit.move_order = 0;
        else if (unit.move_speed * dt >= distance)
            placeUnit(unit, unit.move_target);
        else
            placeUnit(unit, unit.position + d / distance * unit.move_speed * dt);
    }
    if (unit.rocket_cooldown > 0) unit.rocket_cooldown -= dt;

    int target_index = chooseTarget(game, side, unit, counts);
    const Turret* target = target_index >= 0 ? &side.opponents[target_index] : nullptr;
    sf::Vector2f base_point = nearestBasePoint(game, unit);
    turnBarrel(unit, target ? target->position : base_point);

    bool engaged = false;
    bool base_attack = false;
    if (target && canReach(game, unit, *target)) {
        fireAt(game, unit, target->position);
        engaged = true;
    } else if (vectorLength(base_point - unit.position) <= movementReach(game, unit)) {
        fireAt(game, unit, base_point);
        engaged = base_attack = true;
        chargeBase(side, unit);
    }
    if (!unit.move_order) moveUnit(game, side, unit, target, engaged, base_attack, dt, threats);
}

void runPass(Game& game, PassSide side, float dt) {
    std::vector<int> counts;
    std::vector<Threat> threats;
    GridStep grid(game);
    bool player_pass = &side.own == &game.player_turrets;
    side.grids = sideGrids(game);
    side.own_grid = player_pass ? side.grids.player : side.grids.enemy;
    side.opponent_grid = player_pass ? side.grids.enemy : side.grids.player;
    ThreatStep incoming(game, player_pass);
    countAttackers(game, side, counts);
    for (size_t i = 0; i < side.own.size(); ++i) {
        Turret& unit = side.own[i];
        updateUnit(game, side, unit, counts, dt, threats);
        syncUnitAt(side.own_grid, int(i), unit.position);
    }
}
}  // namespace

void updatePlayerTurrets(Game& game, float dt) {
    runPass(game, {game.player_turrets, game.enemy_turrets, game.enemy_money, game.sync.base_damage[1],
                   game.enemy_faction, -1.0f},
            dt);
}

void updateEnemyTurrets(Game& game, float dt) {
    runPass(game, {game.enemy_turrets, game.player_turrets, game.player_money, game.sync.base_damage[0],
                   game.player_faction, +1.0f},
            dt);
}
