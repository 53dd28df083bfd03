#pragma once
#include "battle/geometry.h"
#include "battle/turret.h"

#include <SFML/System/Vector2.hpp>
#include <vector>

struct Game;
struct SideGrids;

// An incoming shot a unit may steer away from.
struct Threat {
    float x = 0, y = 0;          // projectile position
    float dir_x = 0, dir_y = 0;  // unit vector of its velocity
    float time = 0;              // seconds to closest approach, at least 0.01
};

// One pass over a side's units in list order: target, aim, fire, charge the base, move.
void updatePlayerTurrets(Game& game, float dt);
void updateEnemyTurrets(Game& game, float dt);

bool canReach(const Game& game, const Turret& attacker, const Turret& target);
// Whether a firing reach covers an edge distance: always from within the target's hull.
inline bool reachesEdge(float reach, float edge) { return edge < 0 || reach >= edge; }
// Reach used for firing: cannons are limited by how far their shells fly.
float fireReach(const Game& game, const Turret& unit);
// Reach used for movement, for every weapon.
float movementReach(const Game& game, const Turret& unit);
// Whether a unit may not stand at a point: another unit of the lane within 15 pixels,
// or (with a unit given) the unit's opposing base grown by its hull radius.
bool isBlocked(const Game& game, sf::Vector2f point, int lane, const Turret* unit);
// The same, for a caller that holds both sides' grids.
bool isBlocked(const Game& game, const SideGrids& grids, sf::Vector2f point, int lane, const Turret* unit);
// Replaces threats with the enemy shots heading close to a unit at a position, in
// projectile order; the caller keeps the vector so its storage is reused.
void collectThreats(Game& game, sf::Vector2f position, float radius, bool is_player,
                    std::vector<Threat>& threats);

void fireAt(Game& game, Turret& unit, sf::Vector2f aim);

// The four push-apart passes of a frame: each side against itself, then against the other.
void pushAllApart(Game& game);
void clampToField(const Game& game, Turret& unit);
void pushPhysics(Game& game, float dt);

// Moves a unit's hull and barrel together.
void placeUnit(Turret& unit, sf::Vector2f position);

// Shared geometry of the battle steps.
// Centre distance from a point to a unit minus both hull radii.
// Inline: target choice asks it of every opponent in sight, for every unit.
inline float edgeDistance(sf::Vector2f point, float radius, const Turret& target) {
    return vectorLength(target.position - point) - radius - target.radius;
}
inline float edgeDistance(const Turret& a, const Turret& b) { return edgeDistance(a.position, a.radius, b); }
// A point clamped into a rectangle (x into [x, x + width], y into [y, y + height]).
sf::Vector2f clampIntoRect(sf::Vector2f point, const Rect& rect);
// A point kept 10 pixels inside the field.
sf::Vector2f clampIntoField(const Game& game, sf::Vector2f point);
// The base a unit attacks, and the units it fights.
const Rect& opposingBase(const Game& game, const Turret& unit);
const std::vector<Turret>& opponentsOf(const Game& game, const Turret& unit);
// The unit's own position clamped into its opposing base.
sf::Vector2f nearestBasePoint(const Game& game, const Turret& unit);
// Speed and lifetime of a side's shells.
float sideProjectileSpeed(const Game& game, bool is_player);
float sideProjectileLifetime(const Game& game, bool is_player);
