#include "bench_scene.h"
#include "app/frontend.h"
#include "app/update.h"
#include "battle/combat.h"
#include "battle/effects.h"
#include "content/factions.h"
#include "content/levels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace {
struct SceneRandom {
    std::mt19937 engine{20240611u};
    float uniform(float a, float b) { return std::uniform_real_distribution<float>(a, b)(engine); }
    int below(int n) { return static_cast<int>(engine() % static_cast<unsigned>(n)); }
};

// Units stand in a loose grid over their half of the visible field, aiming at the other half.
void placeUnits(Game& game, std::vector<Turret>& units, bool player, int count, SceneRandom& random) {
    const int columns = 15;
    for (int i = 0; i < count; ++i) {
        Turret unit(player, i % 3);
        unit.id = game.next_unit_id++;
        float x = 20 + 60.0f * (i % columns) + random.uniform(-12, 12);
        float row = float(i / columns);
        float y = player ? 340 + 30 * row : 260 - 30 * row;
        placeUnit(unit, {x, y + random.uniform(-8, 8)});
        float aim = random.uniform(-50, 50);
        setRotationDegrees(unit.barrel, player ? aim : 180 + aim);
        unit.barrel.setPosition(unit.position);
        unit.last_track_pos = unit.position;
        units.push_back(unit);
    }
}

// A trail of puffs behind a projectile, youngest nearest to it.
void addSmoke(Projectile& projectile, int puffs, SceneRandom& random) {
    sf::Vector2f position = projectile.position;
    float speed = std::hypot(projectile.velocity.x, projectile.velocity.y);
    sf::Vector2f back = -projectile.velocity / speed;
    for (int i = 0; i < puffs; ++i) {
        SmokePuff puff;
        float distance = 0.4f * float(puffs - i) + random.uniform(0, 1.5f);
        puff.x = position.x + back.x * distance + random.uniform(-1.5f, 1.5f);
        puff.y = position.y + back.y * distance + random.uniform(-1.5f, 1.5f);
        puff.max_life = random.uniform(0.15f, 0.3f);
        puff.life = puff.max_life * float(i + 1) / float(puffs);
        puff.size = random.uniform(0.5f, 1.2f);
        puff.colour = projectile.smoke_colour;
        projectile.smoke.push_back(puff);
    }
}

void addShells(Game& game, BenchScene& scene, int count, SceneRandom& random) {
    for (int i = 0; i < count; ++i) {
        bool player = i % 2 == 0;
        sf::Vector2f position(random.uniform(0, 900), random.uniform(0, 600));
        float angle = (player ? -90 : 90) + random.uniform(-30, 30);
        sf::Vector2f direction(std::cos(angle * kPi / 180), std::sin(angle * kPi / 180));
        int faction = player ? game.player_faction : game.enemy_faction;
        Projectile shell = makeShell(position, direction, player, factionColour(faction), 420, 1.0f);
        shell.smoke_colour = factionColour(faction);
        addSmoke(shell, 15, random);
        scene.projectiles.push_back(shell);
    }
}

void addRockets(BenchScene& scene, int count, SceneRandom& random) {
    for (int i = 0; i < count; ++i) {
        Projectile rocket;
        rocket.is_rocket = rocket.homing = 1;
        rocket.is_player = i % 2 == 0;
        rocket.radius = 6;
        rocket.fill = sf::Color(60, 60, 60);
        rocket.position = {random.uniform(50, 850), random.uniform(0, 600)};
        rocket.rotation_deg = random.uniform(0, 360);
        float heading = rocket.rotation_deg * kPi / 180;
        rocket.velocity = sf::Vector2f(std::cos(heading), std::sin(heading)) * 300.0f;
        rocket.smoke_colour = factionColour(Yellow);
        rocket.lifetime = rocket.life_remaining = 99999.0f;
        addSmoke(rocket, 300, random);
        scene.projectiles.push_back(rocket);
    }
}

void addLaserBeams(BenchScene& scene, int count, SceneRandom& random) {
    for (int i = 0; i < count; ++i) {
        LaserBeam beam;
        beam.start = {random.uniform(0, 900), random.uniform(320, 640)};
        beam.end = beam.start + sf::Vector2f(random.uniform(-60, 60), -random.uniform(60, 140));
        beam.max_life = 0.2f;
        beam.life = random.uniform(0.02f, 0.2f);
        beam.active = 1;
        scene.laser_beams.push_back(beam);
    }
}

// The effects of ongoing fire, made by the game's own emitters from fixed seeds: twenty
// cannon shots a few milliseconds apart (flash, sparks and smoke each), five rocket
// bursts, and the track marks of every unit that has been driving.
void addEffects(Game& game, BenchScene& scene, SceneRandom& random) {
    Effects& effects = game.effects;
    effects.rng.seed(20240611u);
    std::srand(20240611u);
    for (int shot = 0; shot < 20; ++shot) {
        sf::Vector2f muzzle(random.uniform(0, 900), random.uniform(0, 600));
        float direction = random.uniform(0, 360);
        addMuzzleFlash(effects, muzzle);
        emitMuzzleSparks(effects, muzzle, effects.muzzle_particle_count, direction);
        emitMuzzleSmoke(effects, muzzle, effects.muzzle_particle_count / 4, direction);
        updateEffects(effects, 0.002f);
    }
    for (int burst = 0; burst < 5; ++burst) {
        spawnExplosion(effects, {random.uniform(100, 800), random.uniform(50, 550)}, 60);
        updateEffects(effects, 0.002f);
    }
    for (const auto* units : {&scene.player_turrets, &scene.enemy_turrets})
        for (const Turret& unit : *units) {
            sf::Vector2f at = unit.position;
            int faction = random.below(5);
            for (int i = 0; i < 27; ++i) {
                sf::Vector2f behind(0, (unit.is_player ? 1.0f : -1.0f) * float(i));
                addTrackMark(effects, at + behind, factionColour(faction), rotationDegrees(unit.barrel));
            }
        }
    updateEffects(effects, 0.01f);
    scene.particles = effects.particles;
    scene.muzzle_flashes = effects.muzzle_flashes;
    scene.explosions = effects.explosions;
    scene.track_marks = effects.track_marks;
}
}  // namespace

BenchScene buildBenchScene(Game& game, int units_per_side, int shells, int rockets) {
    SceneRandom random;
    BenchScene scene;
    placeUnits(game, scene.player_turrets, true, units_per_side, random);
    placeUnits(game, scene.enemy_turrets, false, units_per_side, random);
    for (int i = 0; i < 20 && i < units_per_side; ++i) scene.selection.push_back(scene.player_turrets[i * 3 % units_per_side].id);
    addShells(game, scene, shells, random);
    addRockets(scene, rockets, random);
    addLaserBeams(scene, 12, random);
    addEffects(game, scene, random);
    return scene;
}

void restoreBenchScene(Game& game, const BenchScene& scene) {
    game.player_turrets = scene.player_turrets;
    game.enemy_turrets = scene.enemy_turrets;
    game.projectiles = scene.projectiles;
    game.laser_beams = scene.laser_beams;
    game.selection = scene.selection;
    game.effects.particles = scene.particles;
    game.effects.muzzle_flashes = scene.muzzle_flashes;
    game.effects.explosions = scene.explosions;
    game.effects.track_marks = scene.track_marks;
    game.inspected_unit = 0;
    game.inspected_side = true;
    // Whatever the frame update did, the match is running again and nobody is ruined.
    game.player_money = game.enemy_money = 1e6f;
    game.game_over = false;
    game.results_timer = 0;
    game.level_running = true;
    game.level_select_active = false;
}

std::size_t smokePuffCount(const BenchScene& scene) {
    std::size_t count = 0;
    for (const Projectile& projectile : scene.projectiles) count += projectile.smoke.size();
    return count;
}

void stepScriptedPlayer(Game& game, ScriptedPlayer& player, float dt) {
    player.next_spawn -= dt;
    if (player.next_spawn > 0) return;
    player.next_spawn = 0.25f;
    spawnPlayerTurret(game, int(player.rng() % 3));  // spends only money it has
}

void playMatchScene(Game& game, ManualClockSource& clock, ScriptedPlayer& player, float seconds, float dt) {
    std::srand(1);
    game.rng.seed(1);
    game.effects.rng.seed(2);
    game.frontend->sounds.rng.seed(3);
    game.game_started = true;
    game.player_faction = Red;
    game.faction_confirmed = true;
    enterLevelSelection(game);
    size_t last = std::min<size_t>(game.shown_levels.size(), 10);
    if (last > 0) startLevel(game, game.shown_levels[last - 1]);
    game.level_running = true;
    game.level_select_active = false;
    for (float played = 0; played < seconds && !game.game_over; played += dt) {
        clock.advance(dt);
        stepScriptedPlayer(game, player, dt);
        update(game, dt);
    }
}
