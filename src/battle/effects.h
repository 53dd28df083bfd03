#pragma once
#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>
#include <cstdint>
#include <random>
#include <vector>

struct Game;

// A muzzle spark or a puff of muzzle smoke.
struct EffectParticle {
    float x = 0, y = 0;
    float vx = 0, vy = 0;        // pixels per second
    float life = 0, max_life = 0;
    float size = 0;              // pixels
    sf::Color colour;            // at birth
    sf::Color end_colour;        // faded towards
};

struct MuzzleFlash {
    float x = 0, y = 0;
    float size = 5.0f;           // pixels
    float life = 0, max_life = 0;
    sf::Color colour;
    std::uint8_t active = 1;
};

struct Explosion {
    float x = 0, y = 0;
    float size = 0;              // the requested size
    float life = 0.8f, max_life = 0.8f;
    std::uint8_t active = 1;
    std::vector<EffectParticle> debris;
    std::vector<sf::CircleShape> rings;
};

struct TrackMark {
    float x = 0, y = 0;
    float life = 0, max_life = 0;
    float size = 0;
    sf::Color colour;
    float vx = 0, vy = 0;
};

// Short-lived battle dressing: muzzle flashes, sparks and smoke, explosions and tracks.
// The sparks' spread in degrees, normal about the barrel's line, drawn as the C++ library
// draws it (the polar method, two values at a time) but with the battle's own logarithm:
// the library's differs from one C runtime to another.
struct NormalSpread {
    float deviation = 4.0f;
    bool spare_ready = false;
    float spare = 0;
};
float drawSpread(NormalSpread& spread, std::mt19937& rng);

struct Effects {
    float muzzle_duration = 0.08f;
    float muzzle_size = 15;
    int muzzle_particle_count = 80;
    float muzzle_particle_life = 0.25f;
    std::uint8_t trail_enabled = 1;
    float trail_particle_lifetime = 0.5f;
    float trail_particle_size = 4.0f;
    float trail_fade_speed = 0.98f;
    std::vector<EffectParticle> particles;
    std::vector<MuzzleFlash> muzzle_flashes;
    std::vector<Explosion> explosions;
    std::vector<TrackMark> track_marks;
    // Off in the balance lab only: no sparks, smoke, flashes, explosions or tracks are made.
    // The battle's rules never read them, but their draws from the battle's random
    // sequence are left out too, so a battle without them is another battle of the match.
    bool enabled = true;
    std::mt19937 rng;
    NormalSpread spread;
};

// Reads the muzzle and then the trail values from config.json.
void loadEffectSettings(Effects& effects);

void emitMuzzleSparks(Effects& effects, sf::Vector2f point, int count, float direction_deg);
void emitMuzzleSmoke(Effects& effects, sf::Vector2f point, int count, float direction_deg);
void addMuzzleFlash(Effects& effects, sf::Vector2f point);
void spawnExplosion(Effects& effects, sf::Vector2f point, float size);
void layTracks(Game& game);
void addTrackMark(Effects& effects, sf::Vector2f point, sf::Color colour, float rotation_deg);
void updateEffects(Effects& effects, float dt);
