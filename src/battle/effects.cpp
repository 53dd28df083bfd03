#include "battle/effects.h"
#include "app/game.h"
#include "battle/battle_math.h"
#include "battle/battle_rand.h"
#include "content/config.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kDegrees = kPi / 180.0f;

// Explosion debris colours, picked by battleRand() % 5.
const sf::Color kFireColours[5] = {sf::Color(255, 255, 200, 255), sf::Color(255, 200, 100, 255),
                                   sf::Color(255, 150, 50, 255), sf::Color(255, 100, 0, 255),
                                   sf::Color(200, 50, 0, 255)};

// a + (b - a) * u, u built from the top 24 bits of the effects engine.
float uniform(Effects& effects, float a, float b) {
    float u = float(effects.rng() >> 8) / 16777216.0f;
    return a + (b - a) * u;
}

// Remainder of a fresh battleRand() value.
int randomBelow(int n) { return battleRand() % n; }

sf::Color sparkColour() {
    float c = float(randomBelow(100)) / 100;
    if (c < 0.25f) return sf::Color(255, 255, std::uint8_t(220 + randomBelow(35)), 255);
    if (c < 0.65f) {
        int blue = 100 + randomBelow(80);
        int green = 220 + randomBelow(35);
        return sf::Color(255, std::uint8_t(green), std::uint8_t(blue), 255);
    }
    int blue = 30 + randomBelow(50);
    int green = 150 + randomBelow(70);
    return sf::Color(255, std::uint8_t(green), std::uint8_t(blue), 255);
}

EffectParticle debrisParticle(sf::Vector2f p) {
    EffectParticle debris;
    float angle = float(randomBelow(1000)) / 1000 * 2 * kPi;
    float speed = float(randomBelow(200)) / 10 + 50;
    debris.colour = kFireColours[randomBelow(5)];
    debris.size = float(randomBelow(30)) / 10 + 1.0f;
    debris.life = float(randomBelow(50)) / 100 + 0.3f;
    debris.max_life = float(randomBelow(50)) / 100 + 0.3f;
    float dy = float(randomBelow(100) - 50) / 10;
    float dx = float(randomBelow(100) - 50) / 10;
    debris.x = p.x + dx;
    debris.y = p.y + dy;
    debris.vx = battleCos(angle) * speed;
    debris.vy = battleSin(angle) * speed;
    debris.end_colour = sf::Color(100, 30, 0, 0);
    return debris;
}

void moveParticle(EffectParticle& particle, float dt, float shrink) {
    particle.x += particle.vx * dt;
    particle.y += particle.vy * dt;
    particle.vx *= 0.95f;
    particle.vy *= 0.95f;
    particle.life -= dt;
    particle.size *= shrink;
}

// Integer part of an alpha value, kept in 0..255: a flash past its end gives 0 rather
// than a wrapped value, and a zero lifetime from the config gives 0 rather than NaN.
std::uint8_t alphaOf(float value) {
    if (!(value > 0)) return 0;
    return value >= 255 ? 255 : std::uint8_t(value);
}

void ageParticles(std::vector<EffectParticle>& particles, float dt) {
    for (EffectParticle& particle : particles) moveParticle(particle, dt, 0.97f);
    particles.erase(std::remove_if(particles.begin(), particles.end(),
                                   [](const EffectParticle& p) { return p.life <= 0 || p.size < 0.1f; }),
                    particles.end());
}

void ageMuzzleFlashes(Effects& effects, float dt) {
    for (MuzzleFlash& flash : effects.muzzle_flashes) {
        flash.life -= dt;
        // A zero duration from the config ends the flash at once instead of dividing by zero.
        float t = flash.max_life > 0 ? 1 - flash.life / flash.max_life : 1.0f;
        flash.size = battleSin(t * kPi) * effects.muzzle_size * 1.5f;
        flash.colour.a = alphaOf((1 - t) * 255);
    }
    auto& flashes = effects.muzzle_flashes;
    flashes.erase(std::remove_if(flashes.begin(), flashes.end(), [](const MuzzleFlash& f) { return f.life <= 0; }),
                  flashes.end());
}

void ageExplosions(std::vector<Explosion>& explosions, float dt) {
    for (Explosion& explosion : explosions) {
        if (!explosion.active) continue;
        explosion.life -= dt;
        if (explosion.life <= 0) {
            explosion.active = 0;
            continue;
        }
        // Debris lives exactly as long as its explosion.
        for (EffectParticle& debris : explosion.debris) moveParticle(debris, dt, 0.98f);
    }
    explosions.erase(std::remove_if(explosions.begin(), explosions.end(),
                                    [](const Explosion& e) { return !e.active; }),
                     explosions.end());
}

void ageTrackMarks(Effects& effects, float dt) {
    for (TrackMark& mark : effects.track_marks) {
        mark.life -= dt;
        mark.x += mark.vx * dt;
        mark.y += mark.vy * dt;
        mark.size *= effects.trail_fade_speed;
        mark.colour.a = alphaOf(mark.life / mark.max_life * 255 * 0.7f);
    }
    auto& marks = effects.track_marks;
    marks.erase(std::remove_if(marks.begin(), marks.end(),
                               [](const TrackMark& m) { return m.life <= 0 || m.size < 0.1f; }),
                marks.end());
}

void layUnitTracks(Effects& effects, Turret& unit, sf::Color colour) {
    sf::Vector2f position = unit.position;
    sf::Vector2f d = position - unit.last_track_pos;
    float distance = battleHypot(d.x, d.y);
    if (distance > 0.1f) {
        int n = std::max(1, int(distance));
        for (int i = 0; i < n; ++i)
            addTrackMark(effects, unit.last_track_pos + d * float(i) / float(n), colour,
                         unit.barrel_degrees);
    }
    unit.last_track_pos = position;
}
}  // namespace

namespace {
// A float within [0, 1) from one 32-bit draw, as the standard library makes it.
float canonical(std::mt19937& rng) {
    float value = float(rng()) / 4294967296.0f;
    return value >= 1.0f ? std::nextafter(1.0f, 0.0f) : value;
}
}  // namespace

float drawSpread(NormalSpread& spread, std::mt19937& rng) {
    float value;
    if (spread.spare_ready) {
        spread.spare_ready = false;
        value = spread.spare;
    } else {
        float x, y, r2;
        do {
            x = 2.0f * canonical(rng) - 1.0f;
            y = 2.0f * canonical(rng) - 1.0f;
            r2 = x * x + y * y;
        } while (r2 > 1.0f || r2 == 0.0f);
        float scale = std::sqrt(-2 * battleLog(r2) / r2);
        spread.spare = x * scale;
        spread.spare_ready = true;
        value = y * scale;
    }
    return value * spread.deviation;
}

void loadEffectSettings(Effects& effects) {
    const Config& config = Config::instance();
    effects.muzzle_size = config.getFloat("/visual/muzzle_flash/size", 15.0f);
    effects.muzzle_duration = config.getFloat("/visual/muzzle_flash/duration", 0.08f);
    effects.muzzle_particle_count = config.getInt("/visual/muzzle_flash/particle_count", 80);
    effects.muzzle_particle_life = config.getFloat("/visual/muzzle_flash/particle_life", 0.25f);
    effects.trail_enabled = config.getBool("/visual/trail/enabled", true);
    (void)config.getFloat("/visual/trail/spawn_interval", 0.01f);  // read for its warning; unused
    effects.trail_particle_lifetime = config.getFloat("/visual/trail/particle_lifetime", 0.5f);
    effects.trail_particle_size = config.getFloat("/visual/trail/particle_size", 4.0f);
    effects.trail_fade_speed = config.getFloat("/visual/trail/fade_speed", 0.98f);
    (void)config.getInt("/visual/trail/max_particles", 500);  // read for its warning; unused
}

void emitMuzzleSparks(Effects& effects, sf::Vector2f point, int count, float direction_deg) {
    if (!effects.enabled) return;
    for (int i = 0; i < count; ++i) {
        EffectParticle spark;
        float spread = std::clamp(drawSpread(effects.spread, effects.rng), -12.0f, 12.0f);
        float angle = (direction_deg + spread) * kDegrees;
        // Sparks near the barrel line fly fastest.
        float speed = uniform(effects, 80, 400) * std::max(0.5f, 1 - std::fabs(spread) / 12 * 0.3f);
        int a = randomBelow(20);
        int b = randomBelow(20);
        spark.vx = battleCos(angle) * speed + float(b - 10) / 20;
        spark.vy = battleSin(angle) * speed + float(a - 10) / 20;
        spark.life = spark.max_life = (float(randomBelow(70)) / 150 + 0.3f) * effects.muzzle_particle_life;
        spark.size = uniform(effects, 0.5f, 2.5f);
        spark.colour = sparkColour();
        spark.end_colour = sf::Color(200, 50, 0, 255);
        spark.x = point.x;
        spark.y = point.y;
        effects.particles.push_back(spark);
    }
}

void emitMuzzleSmoke(Effects& effects, sf::Vector2f point, int count, float direction_deg) {
    if (!effects.enabled) return;
    for (int i = 0; i < count; ++i) {
        EffectParticle smoke;
        smoke.y = point.y + float(randomBelow(30) - 15) / 10;
        smoke.x = point.x + float(randomBelow(30) - 15) / 10;
        float angle = (direction_deg - 20 + float(randomBelow(1000)) / 50) * kDegrees;
        float speed = uniform(effects, 10, 60);
        smoke.vx = battleCos(angle) * speed;
        smoke.vy = battleSin(angle) * speed - float(5 + randomBelow(20));  // smoke rises
        smoke.life = smoke.max_life = float(randomBelow(30)) / 100 + 0.4f;
        smoke.size = uniform(effects, 3, 8);
        int k = randomBelow(80);
        smoke.colour = sf::Color(std::uint8_t(150 + k), std::uint8_t(130 + k), std::uint8_t(110 + k), 120);
        smoke.end_colour = sf::Color(std::uint8_t(100 + k), std::uint8_t(80 + k), std::uint8_t(70 + k), 0);
        effects.particles.push_back(smoke);
    }
}

void addMuzzleFlash(Effects& effects, sf::Vector2f point) {
    if (!effects.enabled) return;
    MuzzleFlash flash;
    flash.x = point.x;
    flash.y = point.y;
    flash.size = 5.0f;
    flash.life = flash.max_life = effects.muzzle_duration;
    flash.colour = sf::Color(255, 220, 100, 255);
    flash.active = 1;
    effects.muzzle_flashes.push_back(flash);
}

void spawnExplosion(Effects& effects, sf::Vector2f point, float size) {
    if (!effects.enabled) return;
    Explosion explosion;
    explosion.x = point.x;
    explosion.y = point.y;
    explosion.size = size;
    explosion.life = explosion.max_life = 0.8f;
    explosion.active = 1;
    for (int i = 0; i < 2; ++i) {
        sf::CircleShape ring(size / 2, 32);
        ring.setOrigin({size / 2, size / 2});
        ring.setPosition(point);
        ring.setFillColor(sf::Color::Transparent);
        ring.setOutlineColor(sf::Color(255, 200, 100, std::uint8_t(150 - 50 * i)));
        ring.setOutlineThickness(2.0f - 0.5f * float(i));
        explosion.rings.push_back(ring);
    }
    int debris_count = 30 + randomBelow(20);
    explosion.debris.reserve(size_t(debris_count));
    for (int i = 0; i < debris_count; ++i) explosion.debris.push_back(debrisParticle(point));
    effects.explosions.push_back(std::move(explosion));
}

void layTracks(Game& game) {
    if (!game.effects.enabled) return;
    sf::Color player_colour = factionColour(game.player_faction);
    sf::Color enemy_colour = factionColour(game.enemy_faction);
    for (Turret& unit : game.player_turrets) layUnitTracks(game.effects, unit, player_colour);
    for (Turret& unit : game.enemy_turrets) layUnitTracks(game.effects, unit, enemy_colour);
}

void addTrackMark(Effects& effects, sf::Vector2f point, sf::Color colour, float rotation_deg) {
    if (!effects.enabled) return;
    if (!effects.trail_enabled) return;
    TrackMark mark;
    mark.x = point.x;
    mark.y = point.y;
    mark.colour = colour;
    mark.colour.a = 200;
    mark.life = mark.max_life = (float(randomBelow(60)) / 100 + 0.7f) * effects.trail_particle_lifetime;
    mark.size = (float(randomBelow(100)) / 100 + 0.5f) * effects.trail_particle_size;
    // One pixel per second away from where the barrel aims.
    float angle = (rotation_deg + 90) * kDegrees;
    mark.vx = battleCos(angle);
    mark.vy = battleSin(angle);
    effects.track_marks.push_back(mark);
}

void updateEffects(Effects& effects, float dt) {
    if (!effects.enabled) return;
    ageParticles(effects.particles, dt);
    ageMuzzleFlashes(effects, dt);
    ageExplosions(effects.explosions, dt);
    if (effects.trail_enabled) ageTrackMarks(effects, dt);
}
