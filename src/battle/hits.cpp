#include "battle/hits.h"
#include "app/game.h"
#include "battle/battle_math.h"
#include "battle/combat.h"
#include "battle/unit_grid.h"

#include <algorithm>
#include <cmath>

namespace {
// Pixels between two hit tests of a shell: under the 28 across which a unit of the usual
// hull radius 12 is struck, and more than a shell of any faction's speed moves in a frame
// at 60 frames a second, so such frames test only the shell's position, as always.
constexpr float kMaxHitGap = 24.0f;

// How a point's distance from a rectangle (zero inside) compares with a bound. Nearly every
// shot is far from both bases, which the square of the distance tells without the root.
LengthOrder compareDistanceToRect(const Rect& rect, sf::Vector2f p, float bound) {
    return compareLength(p - clampIntoRect(p, rect), bound);
}

bool closerToRect(const Rect& rect, sf::Vector2f p, float bound) {
    return compareDistanceToRect(rect, p, bound) == kShorter;
}

// Not closer, but not the same as !closerToRect: a distance that is no number is neither.
bool notCloserToRect(const Rect& rect, sf::Vector2f p, float bound) {
    LengthOrder order = compareDistanceToRect(rect, p, bound);
    return order == kEqualLength || order == kLonger;
}

// What a shot or beam of one side hits: the other side's units, base and money.
struct Opposition {
    std::vector<Turret>& units;
    const Rect& base;
    float& money;
    float& base_damage;  // the side's running total, which a LAN host shares
    bool charged;        // false following a LAN host: its snapshots say what a base lost

    // A joining game that charged its own base as its own battle saw it could go below zero
    // before the host's count does; its money, which travels in 16 bits, would then reach
    // the host as a large sum and the match would never end.
    void chargeBase(float amount) {
        if (!charged) return;
        money -= amount;
        base_damage += amount;
    }
};

Opposition opposingSide(Game& game, bool fired_by_player) {
    bool charged = !game.sync.following;
    if (fired_by_player)
        return {game.enemy_turrets, game.enemy_base, game.enemy_money, game.sync.base_damage[1], charged};
    return {game.player_turrets, game.player_base, game.player_money, game.sync.base_damage[0], charged};
}

// The unit of the list whose centre is nearest to p (ties keep the earlier), or null.
const Turret* nearestUnit(const Game& game, const std::vector<Turret>& units, sf::Vector2f p) {
    int nearest = nearestNear(game, units, p, 0, INFINITY, 1e9f, [&](int i, float& d) {
        d = distanceBetween(units[size_t(i)].position, p);
        return true;
    });
    return nearest >= 0 ? &units[size_t(nearest)] : nullptr;
}

// The first unit in list order whose centre lies closer to p than its hull radius + margin.
// The grid is the list's, or null.
Turret* firstUnitTouching(const UnitGrid* grid, std::vector<Turret>& units, sf::Vector2f p, float margin) {
    int first = firstNear(grid, units, p, (grid ? grid->max_radius : 0) + margin, [&](int i) {
        return compareLength(unitAt(grid, units, i) - p, units[size_t(i)].radius + margin) == kShorter;
    });
    return first >= 0 ? &units[size_t(first)] : nullptr;
}

void chooseRocketTarget(Game& game, Projectile& rocket) {
    Opposition opposition = opposingSide(game, rocket.is_player);
    sf::Vector2f position = rocket.position;
    if (const Turret* nearest = nearestUnit(game, opposition.units, position)) {
        rocket.target = nearest->position;
        rocket.has_target = 1;
        rocket.target_is_base = 0;
        return;
    }
    // With no one left to chase, a rocket flies on to where its last target died.
    if (rocket.has_target && !rocket.target_is_base) return;
    rocket.target = clampIntoRect(position, opposition.base);
    rocket.has_target = 1;
    rocket.target_is_base = 1;
}

// Turns at most 2.5 radians per second towards the target and speeds up to max_speed.
void steerTowardsTarget(Projectile& rocket, float speed, float dt) {
    sf::Vector2f d = rocket.target - rocket.position;
    float dist = vectorLength(d);
    if (dist <= 1) return;
    sf::Vector2f t = d / dist;
    sf::Vector2f h = rocket.velocity / speed;
    float a = battleAcos(std::clamp(h.x * t.x + h.y * t.y, -1.0f, 1.0f));
    float turn = std::min(2.5f * dt, a);
    if (h.x * t.y - h.y * t.x <= 0) turn = -turn;
    float heading = battleAtan2(h.y, h.x) + turn;
    sf::Vector2f forward(battleCos(heading), battleSin(heading));
    rocket.velocity = forward * speed;
    if (rocket.max_speed <= speed) return;
    rocket.velocity += forward * rocket.acceleration * dt;
    float new_speed = vectorLength(rocket.velocity);
    if (new_speed > rocket.max_speed) rocket.velocity *= rocket.max_speed / new_speed;
}

void detonateRocket(Game& game, Projectile& rocket) {
    Opposition opposition = opposingSide(game, rocket.is_player);
    sf::Vector2f p = rocket.position;
    spawnExplosion(game.effects, p, 60);
    recordEvent(game.events, BattleEventKind::Exploded, p.x);
    forEachNearInOrder(game, opposition.units, p, 60, [&](int i) {
        Turret& unit = opposition.units[size_t(i)];
        LengthOrder order = compareLength(unit.position - p, 60);
        if (order == kEqualLength || order == kLonger) return;
        unit.hp -= rocket.damage_amount;
        if (unit.hp <= 0) recordEvent(game.events, BattleEventKind::UnitKilled, unit.position.x);
    });
    if (closerToRect(opposition.base, p, 60)) opposition.chargeBase(rocket.damage_amount);
    rocket.hit = 1;
}

// The grid of the units a side's shots can strike.
const UnitGrid* targetGrid(const SideGrids& grids, bool fired_by_player) {
    return fired_by_player ? grids.enemy : grids.player;
}

void resolveRocket(Game& game, const SideGrids& grids, Projectile& rocket) {
    Opposition opposition = opposingSide(game, rocket.is_player);
    sf::Vector2f p = rocket.position;
    bool touches_unit = firstUnitTouching(targetGrid(grids, rocket.is_player), opposition.units, p, 5) != nullptr;
    if (touches_unit || closerToRect(opposition.base, p, 30)) detonateRocket(game, rocket);
}

// A shell strikes one unit at most; a base only when it struck no unit.
bool strikeAt(Game& game, const SideGrids& grids, Projectile& shell, sf::Vector2f p) {
    Opposition opposition = opposingSide(game, shell.is_player);
    if (Turret* unit = firstUnitTouching(targetGrid(grids, shell.is_player), opposition.units, p, 2)) {
        unit->hp -= shell.damage_amount;
        shell.hit = 1;
        // Either side's kill is heard, so the player also hears the loss of a unit.
        if (unit->hp <= 0) recordEvent(game.events, BattleEventKind::UnitKilled, unit->position.x);
        return true;
    }
    float base_margin = shell.is_player ? 5.0f : 10.0f;
    if (notCloserToRect(opposition.base, p, base_margin)) return false;
    opposition.chargeBase(shell.damage_amount);
    shell.hit = 1;
    return true;
}

// At low frame rates a shell moves further between two hit tests than a unit is wide and
// would fly through it; it is then also tested at points along the way it came, no
// further apart than kMaxHitGap, as shorter frames would have tested it.
void resolveShell(Game& game, const SideGrids& grids, Projectile& shell) {
    sf::Vector2f p = shell.position;
    sf::Vector2f path = shell.velocity * shell.unchecked_flight;
    shell.unchecked_flight = 0;
    // A frame's flight no longer than the gap, as at 60 frames a second, is one test.
    LengthOrder flight = compareLength(path, kMaxHitGap);
    int points = flight == kShorter || flight == kEqualLength
                     ? 1
                     : std::max(1, int(std::ceil(vectorLength(path) / kMaxHitGap)));
    for (int i = points - 1; i >= 0; --i)  // earliest first; the last is the shell's position
        if (strikeAt(game, grids, shell, p - path * (float(i) / float(points)))) return;
}

float laserDamageOf(const Game& game, bool owner_is_player) {
    return owner_is_player ? game.lasers.player_damage : game.lasers.enemy_damage;
}

void tickLaserBeam(Game& game, LaserBeam& beam) {
    Opposition opposition = opposingSide(game, beam.owner_is_player);
    float damage = laserDamageOf(game, beam.owner_is_player);
    if (Turret* unit = firstUnitTouching(gridOf(game, opposition.units), opposition.units, beam.end, 5)) {
        unit->hp -= damage;
        return;
    }
    if (notCloserToRect(opposition.base, beam.end, 30)) return;
    // An enemy beam burning the player's base always costs a fixed 5.
    opposition.chargeBase(beam.owner_is_player ? damage : 5.0f);
}

void followTarget(Game& game, LaserBeam& beam) {
    Opposition opposition = opposingSide(game, beam.owner_is_player);
    if (const Turret* nearest = nearestUnit(game, opposition.units, beam.start))
        beam.end = nearest->position;
    else
        beam.end = clampIntoRect(beam.start, opposition.base);
}

// The peer removes its copies of the dead, side by side in list order.
void recordSweep(Game& game, const std::vector<Turret>& units, std::uint8_t side) {
    for (const Turret& unit : units) {
        if (unit.hp > 0) continue;
        BattleEvent swept{BattleEventKind::DeadUnitSwept};
        swept.side = side;
        swept.lane = std::uint8_t(unit.lane);
        game.events.push_back(swept);
    }
}

void sweepDead(std::vector<Turret>& units) {
    units.erase(std::remove_if(units.begin(), units.end(), [](const Turret& unit) { return unit.hp <= 0; }),
                units.end());
}

// The unit under the info box, found again by where it stood before the sweep.
void refindInspectedUnit(Game& game, sf::Vector2f position) {
    const std::vector<Turret>& units = game.inspected_side ? game.player_turrets : game.enemy_turrets;
    game.inspected_unit = -1;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (distanceBetween(units[i].position, position) < 1) {
            game.inspected_unit = int(i);
            return;
        }
    }
}

bool isLiving(Game& game, UnitId id) {
    const Turret* unit = findUnit(game, id);
    return unit && unit->hp > 0;
}

void forgetDeadUnits(Game& game) {
    auto& selection = game.selection;
    selection.erase(
        std::remove_if(selection.begin(), selection.end(), [&](UnitId id) { return !isLiving(game, id); }),
        selection.end());
    for (Turret& unit : game.player_turrets) {
        if (!unit.attack_order || isLiving(game, unit.attack_target)) continue;
        unit.attack_order = 0;
        unit.attack_target = kNoUnit;
    }
}

template <typename Predicate>
void sweepProjectiles(Game& game, Predicate finished) {
    auto& projectiles = game.projectiles;
    projectiles.erase(std::remove_if(projectiles.begin(), projectiles.end(), finished), projectiles.end());
}
}  // namespace

void retargetRockets(Game& game, float dt) {
    GridStep grid(game);
    for (Projectile& rocket : game.projectiles) {
        if (!rocket.is_rocket || !rocket.homing || rocket.hit) continue;
        float speed = vectorLength(rocket.velocity);
        // A stalled rocket is kicked back to speed.
        if (speed < 5) {
            rocket.velocity *= 100.0f;
            speed = 100;
        }
        chooseRocketTarget(game, rocket);
        if (rocket.has_target) steerTowardsTarget(rocket, speed, dt);
    }
}

void resolveHits(Game& game) {
    GridStep step(game);
    // Struck units lose health but stay in their lists and places until the sweep.
    SideGrids grids = sideGrids(game);
    for (Projectile& projectile : game.projectiles) {
        if (projectile.hit) continue;
        if (projectile.is_rocket)
            resolveRocket(game, grids, projectile);
        else
            resolveShell(game, grids, projectile);
    }
}

void updateLaserBeams(Game& game, float dt) {
    GridStep grid(game);
    for (LaserBeam& beam : game.laser_beams) {
        if (!beam.active) continue;
        // A beam its owner refreshed in this frame burns through the frame even when the
        // frame outlasts its life (below 5 frames a second), or lasers would never land a tick.
        bool refreshed = beam.life == beam.max_life;
        beam.life -= dt;
        if (beam.life <= 0 && !refreshed) {
            beam.active = 0;
            continue;
        }
        beam.tick_timer += dt;
        if (beam.tick_timer >= beam.tick_interval) {
            beam.tick_timer = 0;
            tickLaserBeam(game, beam);
        }
        followTarget(game, beam);
    }
    auto& beams = game.laser_beams;
    beams.erase(std::remove_if(beams.begin(), beams.end(), [](const LaserBeam& beam) { return !beam.active; }),
                beams.end());
}

void removeDeadTurrets(Game& game) {
    // In a LAN game that follows the host, the host's word decides which units die.
    if (game.sync.following) return;
    const std::vector<Turret>& inspected_list = game.inspected_side ? game.player_turrets : game.enemy_turrets;
    bool inspecting = game.inspected_unit >= 0 && game.inspected_unit < int(inspected_list.size());
    sf::Vector2f inspected_position;
    if (inspecting) inspected_position = inspected_list[game.inspected_unit].position;

    recordSweep(game, game.player_turrets, 0);
    recordSweep(game, game.enemy_turrets, 1);
    std::size_t before = game.player_turrets.size() + game.enemy_turrets.size();
    sweepDead(game.player_turrets);
    sweepDead(game.enemy_turrets);
    if (game.player_turrets.size() + game.enemy_turrets.size() < before) game.sync.death_unshared = true;

    if (inspecting) refindInspectedUnit(game, inspected_position);
    forgetDeadUnits(game);
}

void sweepSpentProjectiles(Game& game) {
    sweepProjectiles(game, [](const Projectile& p) { return p.life_remaining <= 0; });
}

void sweepFinishedProjectiles(Game& game) {
    sweepProjectiles(game, [](const Projectile& p) { return p.hit || p.life_remaining <= 0; });
}
