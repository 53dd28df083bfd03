#pragma once
#include "battle/turret.h"

#include <SFML/System/Vector2.hpp>
#include <cstdint>
#include <vector>

struct Game;

// An incoming shot a unit may steer away from.
struct Threat {
    float x = 0, y = 0;          // projectile position
    float dir_x = 0, dir_y = 0;  // unit vector of its velocity
    float speed = 0;
    float time = 0;              // seconds to closest approach, at least 0.01
    float danger_radius = 0;     // the unit's hull radius + 15
    std::uint8_t owner_is_player = 0;
};

void updatePlayerTurrets(Game& game, float dt);
void updateEnemyTurrets(Game& game, float dt);

bool canReach(const Game& game, const Turret& attacker, const Turret& target);
// Reach used for firing: cannons are limited by how far their shells fly.
float fireReach(const Game& game, const Turret& unit);
// Reach used for movement, for every weapon.
float movementReach(const Game& game, const Turret& unit);
bool isBlocked(const Game& game, sf::Vector2f point, int lane, const Turret* unit);
std::vector<Threat> collectThreats(const Game& game, sf::Vector2f position, float radius, bool is_player);

void fireAt(Game& game, Turret& unit, sf::Vector2f aim);

void pushApart(Game& game, Turret& unit, const std::vector<Turret>& list, float radius);
void clampToField(const Game& game, Turret& unit);
void pushPhysics(Game& game, float dt);

// Moves a unit's hull and barrel together.
void placeUnit(Turret& unit, sf::Vector2f position);
