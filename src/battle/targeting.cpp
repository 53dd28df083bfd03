#include "app/game.h"
#include "battle/combat.h"
#include "battle/unit_grid.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kLaneClearance = 15.0f;  // units of one lane never stand closer than this
}  // namespace


sf::Vector2f clampIntoRect(sf::Vector2f point, const Rect& rect) {
    return {std::clamp(point.x, rect.x, rect.x + rect.width), std::clamp(point.y, rect.y, rect.y + rect.height)};
}

sf::Vector2f clampIntoField(const Game& game, sf::Vector2f point) {
    const WorldBounds& bounds = game.world_bounds;
    return {std::clamp(point.x, bounds.min_x + 10, bounds.max_x - 10),
            std::clamp(point.y, bounds.min_y + 10, bounds.max_y - 10)};
}

const Rect& opposingBase(const Game& game, const Turret& unit) {
    return unit.is_player ? game.enemy_base : game.player_base;
}

const std::vector<Turret>& opponentsOf(const Game& game, const Turret& unit) {
    return unit.is_player ? game.enemy_turrets : game.player_turrets;
}

sf::Vector2f nearestBasePoint(const Game& game, const Turret& unit) {
    return clampIntoRect(unit.position, opposingBase(game, unit));
}

float sideProjectileSpeed(const Game& game, bool is_player) {
    return is_player ? game.player_projectile_speed : game.enemy_projectile_speed;
}

float sideProjectileLifetime(const Game& game, bool is_player) {
    return is_player ? game.player_projectile_lifetime : game.enemy_projectile_lifetime;
}

float movementReach(const Game& game, const Turret& unit) {
    return std::min(unit.range, sideProjectileSpeed(game, unit.is_player) * sideProjectileLifetime(game, unit.is_player));
}

float fireReach(const Game& game, const Turret& unit) {
    return unit.weapon == Cannon ? movementReach(game, unit) : unit.range;
}

bool canReach(const Game& game, const Turret& attacker, const Turret& target) {
    return reachesEdge(fireReach(game, attacker), edgeDistance(attacker, target));
}

bool isBlocked(const Game& game, sf::Vector2f point, int lane, const Turret* unit) {
    return isBlocked(game, sideGrids(game), point, lane, unit);
}

bool isBlocked(const Game& game, const SideGrids& grids, sf::Vector2f point, int lane, const Turret* unit) {
    auto taken = [&](const std::vector<Turret>& list, const UnitGrid* grid) {
        return anyNear(grid, list, point, kLaneClearance, [&](int i) {
            // Most units looked at stand too far, which their place alone tells.
            const Turret& other = list[size_t(i)];
            return compareLength(unitAt(grid, list, i) - point, kLaneClearance) == kShorter && &other != unit &&
                   other.lane == lane;
        });
    };
    if (taken(game.player_turrets, grids.player) || taken(game.enemy_turrets, grids.enemy)) return true;
    if (!unit) return false;
    const Rect& base = opposingBase(game, *unit);
    float r = unit->radius;
    return point.x >= base.x - r && point.x < base.x + base.width + r && point.y >= base.y - r &&
           point.y < base.y + base.height + r;
}
