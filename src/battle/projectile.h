#pragma once
#include "battle/turret.h"

#include <SFML/Graphics/Color.hpp>
#include <cstdint>
#include <vector>

// One puff of smoke shed by a projectile in flight.
struct SmokePuff {
    float x = 0, y = 0;
    float vx = 0, vy = 0;      // pixels per second
    float life = 0, max_life = 0;
    float size = 0;            // drawn radius in pixels
    sf::Color colour;
};

// A cannon shell or a homing rocket in flight.
// Its body is a plain round, not a shape: hundreds fly at once, and the sweep of spent
// ones moves every later one along the list.
struct Projectile {
    sf::Vector2f position;
    float radius = 4;               // as drawn
    sf::Color fill;                 // shells take their side's colour
    sf::Vector2f velocity;          // pixels per second
    std::vector<SmokePuff> smoke;   // at most 2000, oldest first
    float lifetime = 0;             // flight time given at creation
    std::uint8_t is_player = 0;     // fired by a player unit
    float life_remaining = 0;       // only shells spend it
    float unchecked_flight = 0;     // seconds a shell has moved since its last hit test
    sf::Color smoke_colour = sf::Color(0, 0, 0, 255);
    std::uint8_t is_rocket = 0;
    float rotation_deg = 0;         // a rocket's heading, 0 towards +x
    std::uint8_t homing = 0;
    std::uint8_t hit = 0;           // struck something; removed at the end of the frame
    float damage_amount = 0;
    float max_speed = 350;
    float acceleration = 400;
    float wobble_phase = 0;
    float wobble_frequency = 10;
    float wobble_amplitude = 300;
    sf::Vector2f target;            // point a rocket steers to
    std::uint8_t has_target = 0;
    std::uint8_t target_is_base = 0;
};

// A shell at a point, moving along a unit direction at a speed.
Projectile makeShell(sf::Vector2f position, sf::Vector2f direction, bool is_player, sf::Color fill,
                     float speed, float lifetime);

// A laser unit's beam. It keeps its owner's side and id, so it stays safe to use after
// the owner is swept.
struct LaserBeam {
    sf::Vector2f start;             // where the beam leaves the unit
    sf::Vector2f end;               // the point it burns
    float life = 0, max_life = 0;   // seconds
    std::uint8_t active = 0;
    sf::Color colour = sf::Color(255, 255, 255, 220);
    UnitId owner = kNoUnit;
    std::uint8_t owner_is_player = 0;
    float tick_timer = 0;
    float tick_interval = 0;
};

// Drives the exhaust flicker of every rocket; advanced once per rocket drawn.
extern float flame_phase;

// Flight of one projectile for dt seconds: shells spend life and move, rockets home.
void flyProjectile(Projectile& projectile, float dt);
// Ages, removes and sheds the smoke puffs of one projectile.
void updateSmoke(Projectile& projectile, float dt);
