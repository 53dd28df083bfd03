#include "battle/state_digest.h"
#include "app/game.h"
#include "battle/battle_rand.h"

#include <cstring>
#include <random>

namespace {
// FNV-1a over the bytes of each value.
struct Digest {
    std::uint64_t hash = 14695981039346656037ull;

    template <typename T>
    void add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
    }
};

void addUnits(Digest& digest, const std::vector<Turret>& units) {
    digest.add(units.size());
    for (const Turret& unit : units) {
        digest.add(unit.id);
        digest.add(unit.position);
        digest.add(unit.barrel_degrees);
        digest.add(unit.push_velocity);
        digest.add(unit.hp);
        digest.add(unit.range);
        digest.add(unit.fire_rate);
        digest.add(unit.move_speed);
        digest.add(unit.rocket_cooldown);
        digest.add(unit.fire_clock.elapsedMicroseconds());
    }
}

void addShots(Digest& digest, const Game& game) {
    digest.add(game.projectiles.size());
    for (const Projectile& projectile : game.projectiles) {
        digest.add(projectile.position);
        digest.add(projectile.velocity);
        digest.add(projectile.life_remaining);
        digest.add(projectile.hit);
        digest.add(projectile.smoke.size());
    }
    digest.add(game.laser_beams.size());
    for (const LaserBeam& beam : game.laser_beams) {
        digest.add(beam.end);
        digest.add(beam.life);
        digest.add(beam.tick_timer);
    }
}

void addEffects(Digest& digest, const Effects& effects) {
    digest.add(effects.particles.size());
    for (const EffectParticle& particle : effects.particles) digest.add(sf::Vector2f(particle.x, particle.y));
    digest.add(effects.muzzle_flashes.size());
    digest.add(effects.explosions.size());
    digest.add(effects.track_marks.size());
}
}  // namespace

std::uint64_t battleDigest(const Game& game) {
    Digest digest;
    addUnits(digest, game.player_turrets);
    addUnits(digest, game.enemy_turrets);
    addShots(digest, game);
    addEffects(digest, game.effects);
    for (const HexCell& cell : game.hex_cells) digest.add(cell.current.toInteger());
    for (float value : {game.player_money, game.enemy_money, game.player_income, game.enemy_income})
        digest.add(value);
    for (const UpgradeState* state : {&game.player_upgrades, &game.enemy_upgrades}) digest.add(state->levels);
    digest.add(game.wave_index);
    digest.add(game.schedule_index);
    digest.add(game.wave_spawned);
    digest.add(game.game_over);
    // The engines' next draws, as 32 bits: their result type is 64 bits wide on Linux and 32
    // on Windows, and the digest is the same on both.
    std::mt19937 units = game.rng, effects = game.effects.rng;
    digest.add(std::uint32_t(units()));
    digest.add(std::uint32_t(effects()));
    BattleRandState shared = battleRandState();
    digest.add(shared.table);
    digest.add(shared.front);
    return digest.hash;
}
