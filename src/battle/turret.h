#pragma once
#include "app/clock.h"
#include "content/factions.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <cstdint>

struct Game;

// Units are held by value in vectors that grow and get swept, so anything that must
// name a unit across frames (selection, attack orders, a beam's owner) keeps its id.
using UnitId = std::uint32_t;
constexpr UnitId kNoUnit = 0;

// One combat unit: a round hull with a gun barrel, sent down one of three lanes.
struct Turret {
    Turret(bool is_player, int lane);  // generic stats of the side from config.json; not placed

    // Where the unit is and its hull radius, as the battle reckons with them. Read in every
    // neighbour search, so they come first, with the unit's other figures after them.
    sf::Vector2f position;
    float radius = 12;
    // The barrel's rotation in degrees, [0, 360), as the battle reckons with it and as it
    // is drawn.
    float barrel_degrees = 0;
    float recoil_distance = 6.0f;   // pixels a cannon shot pushes the unit back
    sf::Vector2f push_velocity;     // pixels per second, from the push step
    int weapon = Cannon;
    float rocket_cooldown = 0;      // seconds before a rocket launcher may fire again
    float hp = 1.0f;                // dead at 0 or below
    int armor = 0;                  // only used by target sharing across lanes
    int lane = 0;                   // 0, 1 or 2
    std::uint8_t is_player = 0;     // 1 for the local side's units
    sf::Vector2f last_track_pos;    // where the last track mark was laid
    float range = 90;               // pixels between hull edges
    float fire_rate = 0.6f;         // seconds between shots; smaller is faster
    float dodge = 0;                // shown in the info box; no hit test reads it
    float move_speed = 55;          // pixels per second
    float damage = 1.0f;            // per shell, rocket and base charge
    UnitId attack_target = kNoUnit; // enemy named by the player's attack order
    sf::Vector2f move_target;       // point named by the player's move order
    std::uint8_t attack_order = 0;
    std::uint8_t move_order = 0;    // driving to move_target
    Clock fire_clock;               // restarted at every shot
    Clock base_hit_clock;           // paces base charges, one per 0.6 s
    UnitId id = kNoUnit;            // unique within the game, given at spawn
    // The side's spawn count when it spawned: the same unit carries the same number on
    // both machines of a LAN game. Units from the opponent-spawn keys count apart, with
    // kKeySpawnNumbers set.
    std::uint16_t net_number = 0;
    sf::Vector2f net_correction;    // how far the host's battle still wants this unit moved
    // Joining game: where the unit stood after the last frame and how fast it has been
    // moving (pixels per second, smoothed), to carry a snapshot's position over its age.
    bool net_tracked = false;
    sf::Vector2f net_last_position;
    sf::Vector2f net_velocity;
    // The looks of the shapes, last: the battle never reads them. The hull is placed where
    // the unit is drawn, not at each of the many moves of a frame.
    sf::CircleShape body;           // the hull
    sf::RectangleShape barrel;      // rotation 0 points towards -y
};

constexpr std::uint16_t kKeySpawnNumbers = 0x8000;

void spawnPlayerTurret(Game& game, int lane);
// from_spawn_keys: the opponent's unit was sent by its opponent-spawn keys, which number apart.
void spawnEnemyTurret(Game& game, int lane, bool from_spawn_keys = false);
void applyPlayerUpgrades(Game& game);
// A unit the host's battle has and this one lacks, numbered as the host numbered it.
Turret& addSyncedUnit(Game& game, bool player_side, int lane, sf::Vector2f point, std::uint16_t number);

// The unit with that id in either list, or null.
Turret* findUnit(Game& game, UnitId id);
