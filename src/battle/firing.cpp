#include "app/game.h"
#include "battle/battle_math.h"
#include "battle/battle_rand.h"
#include "battle/combat.h"
#include "battle/effects.h"
#include "battle/unit_grid.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kMuzzleDistance = 28.0f;    // from the hull centre along the barrel
constexpr float kRecoilClearance = 18.0f;   // recoil never pushes a unit this close to another
constexpr float kRocketSpeedFactor = 0.25f; // rockets start at a quarter of the shell speed
constexpr float kRocketLifetime = 99999.0f; // rockets never expire; they leave by detonating

int sideFaction(const Game& game, bool is_player) { return is_player ? game.player_faction : game.enemy_faction; }

// The barrel's direction in degrees, 0 along +x (the barrel's own rotation 0 points to -y).
float barrelHeading(const Turret& unit) { return unit.barrel_degrees - 90.0f; }

sf::Vector2f muzzleOf(const Turret& unit) {
    float theta = degreesToRadians(barrelHeading(unit));
    return unit.position + sf::Vector2f(battleCos(theta), battleSin(theta)) * kMuzzleDistance;
}

// Both sides' laser units are paced by the player's interval; the beam ticks at its own side's.
void fireLaser(Game& game, Turret& unit, sf::Vector2f aim) {
    if (unit.fire_clock.elapsedSeconds() < game.lasers.player_interval) return;
    float distance = vectorLength(aim - unit.position);
    if (distance == 0 || distance > unit.range) return;
    float interval = unit.is_player ? game.lasers.player_interval : game.lasers.enemy_interval;
    auto own = std::find_if(game.laser_beams.begin(), game.laser_beams.end(),
                            [&](const LaserBeam& beam) { return beam.active && beam.owner == unit.id; });
    LaserBeam* beam = nullptr;
    if (own != game.laser_beams.end()) {
        beam = &*own;
    } else {
        beam = &game.laser_beams.emplace_back();
        beam->active = 1;
        beam->colour = sf::Color(255, 255, 255, 220);
        beam->owner = unit.id;
        beam->owner_is_player = unit.is_player;
    }
    beam->start = unit.position;
    beam->end = aim;
    beam->life = beam->max_life = game.lasers.beam_life;
    beam->tick_timer = 0;
    beam->tick_interval = interval;
    unit.fire_clock.restart();
}

// The opponent nearest to the muzzle within range, else the unit's nearest base point.
void aimRocket(const Game& game, const Turret& unit, Projectile& rocket) {
    sf::Vector2f muzzle = rocket.position;
    const std::vector<Turret>& opponents = opponentsOf(game, unit);
    int nearest = nearestNear(game, opponents, muzzle, 0, unit.range, INFINITY, [&](int i, float& distance) {
        distance = vectorLength(opponents[size_t(i)].position - muzzle);
        return distance <= unit.range;
    });
    rocket.has_target = 1;
    if (nearest >= 0) {
        rocket.target = opponents[size_t(nearest)].position;
        rocket.target_is_base = 0;
    } else {
        rocket.target = nearestBasePoint(game, unit);
        rocket.target_is_base = 1;
    }
}

void launchRocket(Game& game, Turret& unit, sf::Vector2f aim) {
    sf::Vector2f offset = aim - unit.position;
    float distance = vectorLength(offset);
    if (distance == 0) return;
    sf::Vector2f dir = offset / distance;
    float speed = sideProjectileSpeed(game, unit.is_player) * kRocketSpeedFactor;

    Projectile rocket;
    rocket.radius = 6;
    rocket.fill = sf::Color(60, 60, 60, 255);
    rocket.position = muzzleOf(unit);
    rocket.is_rocket = 1;
    rocket.homing = 1;
    rocket.rotation_deg = battleAtan2(dir.y, dir.x) * 180.0f / kPiTo5Places;
    rocket.lifetime = rocket.life_remaining = kRocketLifetime;
    rocket.is_player = unit.is_player;
    rocket.smoke_colour = factionColour(sideFaction(game, unit.is_player));
    rocket.velocity = dir * speed;
    rocket.max_speed = speed * 1.2f;
    rocket.acceleration = speed * 3.0f;
    rocket.damage_amount = unit.damage;
    rocket.wobble_phase = 0;
    // Draw order matters for replays: frequency first, then amplitude.
    rocket.wobble_frequency = float(battleRand() % 30) / 10.0f + 6.0f;
    rocket.wobble_amplitude = float(battleRand() % 8) / 100.0f + 0.08f;
    aimRocket(game, unit, rocket);
    game.projectiles.push_back(std::move(rocket));
    unit.fire_clock.restart();
    recordEvent(game.events, BattleEventKind::RocketLaunched, unit.position.x);
}

void fireRocket(Game& game, Turret& unit, sf::Vector2f aim) {
    if (unit.fire_clock.elapsedSeconds() < unit.fire_rate) return;
    if (unit.rocket_cooldown > 0) return;
    launchRocket(game, unit, aim);
    unit.rocket_cooldown = std::max(0.05f, unit.fire_rate * 1.2f);
    unit.fire_clock.restart();
}

bool anotherUnitNear(const Game& game, const Turret& unit, sf::Vector2f point, float clearance) {
    for (const auto* list : {&game.player_turrets, &game.enemy_turrets}) {
        bool crowded = anyNear(game, *list, point, clearance, [&](int i) {
            const Turret& other = (*list)[size_t(i)];
            return &other != &unit && vectorLength(other.position - point) < clearance;
        });
        if (crowded) return true;
    }
    return false;
}

// A shot pushes the unit back along y only, unless that would crowd another unit.
void recoil(Game& game, Turret& unit) {
    float k = float(battleRand() % 40) / 100.0f + 0.8f;
    float theta = degreesToRadians(barrelHeading(unit));
    sf::Vector2f position = unit.position;
    sf::Vector2f candidate(position.x, position.y - battleSin(theta) * k * unit.recoil_distance);
    candidate = clampIntoField(game, candidate);
    if (!anotherUnitNear(game, unit, candidate, kRecoilClearance)) placeUnit(unit, candidate);
}

void fireCannon(Game& game, Turret& unit, sf::Vector2f aim) {
    if (unit.fire_clock.elapsedSeconds() < unit.fire_rate) return;
    sf::Vector2f position = unit.position;
    float distance = vectorLength(aim - position);
    if (distance == 0) return;
    Projectile shell = makeShell(position, (aim - position) / distance, unit.is_player,
                                 factionColour(sideFaction(game, unit.is_player)),
                                 sideProjectileSpeed(game, unit.is_player), sideProjectileLifetime(game, unit.is_player));
    shell.damage_amount = unit.damage;
    game.projectiles.push_back(std::move(shell));
    recoil(game, unit);

    sf::Vector2f muzzle = muzzleOf(unit);
    float heading = barrelHeading(unit);
    int sparks = game.effects.muzzle_particle_count;
    addMuzzleFlash(game.effects, muzzle);
    emitMuzzleSparks(game.effects, muzzle, sparks, heading);
    emitMuzzleSmoke(game.effects, muzzle, sparks / 4, heading);
    unit.fire_clock.restart();
    recordEvent(game.events, BattleEventKind::CannonFired, unit.position.x);
}
}  // namespace

void fireAt(Game& game, Turret& unit, sf::Vector2f aim) {
    switch (unit.weapon) {
    case Laser: fireLaser(game, unit, aim); break;
    case RocketLauncher: fireRocket(game, unit, aim); break;
    default: fireCannon(game, unit, aim); break;
    }
}
