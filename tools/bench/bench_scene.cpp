#include "bench_scene.h"
#include "content/factions.h"

#include <cmath>
#include <random>

namespace {
const float kPi = 3.14159265f;

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
        unit.body.setPosition(x, y + random.uniform(-8, 8));
        float aim = random.uniform(-50, 50);
        unit.barrel.setRotation(player ? aim : 180 + aim);
        unit.barrel.setPosition(unit.body.getPosition());
        unit.last_track_pos = unit.body.getPosition();
        units.push_back(unit);
    }
}

// A trail of puffs behind a projectile, youngest nearest to it.
void addSmoke(Projectile& projectile, int puffs, SceneRandom& random) {
    sf::Vector2f position = projectile.shape.getPosition();
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
        rocket.shape = sf::CircleShape(6, 30);
        rocket.shape.setOrigin(6, 6);
        rocket.shape.setFillColor(sf::Color(60, 60, 60));
        rocket.shape.setPosition(random.uniform(50, 850), random.uniform(0, 600));
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

EffectParticle particle(sf::Vector2f at, float size, sf::Color colour, sf::Color end, SceneRandom& random) {
    EffectParticle p;
    p.x = at.x + random.uniform(-20, 20);
    p.y = at.y + random.uniform(-20, 20);
    p.max_life = random.uniform(0.1f, 0.5f);
    p.life = p.max_life * random.uniform(0.1f, 1);
    p.size = size;
    p.colour = colour;
    p.end_colour = end;
    return p;
}

// Twenty cannon shots' worth of sparks, smoke and flashes, five rocket bursts, and the
// track marks of every unit that has been moving.
void addEffects(BenchScene& scene, SceneRandom& random) {
    for (int shot = 0; shot < 20; ++shot) {
        sf::Vector2f muzzle(random.uniform(0, 900), random.uniform(0, 600));
        for (int i = 0; i < 80; ++i)
            scene.particles.push_back(particle(muzzle, random.uniform(0.5f, 2.5f), sf::Color(255, 230, 150),
                                               sf::Color(200, 50, 0), random));
        for (int i = 0; i < 20; ++i)
            scene.particles.push_back(particle(muzzle, random.uniform(3, 8), sf::Color(180, 160, 140, 120),
                                               sf::Color(130, 110, 100, 0), random));
        MuzzleFlash flash;
        flash.x = muzzle.x;
        flash.y = muzzle.y;
        flash.size = random.uniform(5, 22);
        flash.max_life = 0.08f;
        flash.life = random.uniform(0.01f, 0.08f);
        flash.colour = sf::Color(255, 220, 100, 180);
        scene.muzzle_flashes.push_back(flash);
    }
    for (int burst = 0; burst < 5; ++burst) {
        Explosion explosion;
        explosion.x = random.uniform(100, 800);
        explosion.y = random.uniform(50, 550);
        explosion.size = 60;
        explosion.life = random.uniform(0.2f, 0.8f);
        for (int i = 0; i < 40; ++i)
            explosion.debris.push_back(particle({explosion.x, explosion.y}, random.uniform(1, 4),
                                                sf::Color(255, 150, 50), sf::Color(100, 30, 0, 0), random));
        for (int ring = 0; ring < 2; ++ring) {
            sf::CircleShape shape(30, 32);
            shape.setOrigin(30, 30);
            shape.setPosition(explosion.x, explosion.y);
            shape.setFillColor(sf::Color::Transparent);
            shape.setOutlineColor(sf::Color(255, 200, 100, sf::Uint8(150 - 50 * ring)));
            shape.setOutlineThickness(2.0f - 0.5f * ring);
            explosion.rings.push_back(shape);
        }
        scene.explosions.push_back(explosion);
    }
    for (const auto* units : {&scene.player_turrets, &scene.enemy_turrets})
        for (const Turret& unit : *units)
            for (int i = 0; i < 27; ++i) {
                TrackMark mark;
                sf::Vector2f at = unit.body.getPosition();
                mark.x = at.x + random.uniform(-2, 2);
                mark.y = at.y + (unit.is_player ? 1.0f : -1.0f) * float(i);
                mark.max_life = random.uniform(0.35f, 0.75f);
                mark.life = mark.max_life * float(27 - i) / 27;
                mark.size = random.uniform(2, 6);
                mark.colour = factionColour(random.below(5));
                mark.colour.a = 140;
                scene.track_marks.push_back(mark);
            }
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
    addEffects(scene, random);
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
