#include "battle/projectile.h"
#include "battle/battle_math.h"
#include "battle/battle_rand.h"
#include "battle/geometry.h"

#include <algorithm>
#include <cmath>

float flame_phase = 0;

namespace {
constexpr std::size_t kMaxPuffs = 2000;

// A shell spends dt, moves only if that left it alive, then spends dt again.
void flyShell(Projectile& shell, float dt) {
    shell.life_remaining -= dt;
    if (shell.life_remaining <= 0) return;
    shell.position += shell.velocity * dt;
    shell.unchecked_flight += dt;
    shell.life_remaining -= dt;
}

// Turns a homing rocket towards its target by at most 10 radians per second, wobbling
// on the way. It leaves at entry_speed: steering undoes this step's acceleration.
void steerRocket(Projectile& rocket, float entry_speed, float dt) {
    sf::Vector2f d = rocket.target - rocket.position;
    float dist = vectorLength(d);
    if (dist <= 1.0f) return;
    // atan2 ignores the scale of its arguments, so the raw velocity gives the same heading
    // as the unit vector and stays defined for a rocket at rest.
    float heading = battleAtan2(rocket.velocity.y, rocket.velocity.x);
    float desired = battleAtan2(d.y / dist, d.x / dist);
    float diff = desired - heading;
    while (diff > kPiTo5Places) diff -= kTwoPiTo5Places;
    while (diff < -kPiTo5Places) diff += kTwoPiTo5Places;
    float wobble = battleSin(dt * rocket.wobble_frequency + rocket.wobble_phase) * rocket.wobble_amplitude;
    diff += std::clamp(wobble, -6.28f, 6.28f);
    float turn = std::clamp(diff, -10.0f * dt, 10.0f * dt);
    float new_heading = heading + turn;
    rocket.velocity = sf::Vector2f(battleCos(new_heading), battleSin(new_heading)) * entry_speed;
    rocket.rotation_deg = new_heading * 180.0f / kPiTo5Places;
    rocket.wobble_phase += dt;
}

// A rocket never spends life; it leaves the list only by detonating.
void flyRocket(Projectile& rocket, float dt) {
    float speed = vectorLength(rocket.velocity);
    if (speed > 0) {
        float new_speed = std::min(rocket.max_speed, speed + rocket.acceleration * dt);
        rocket.velocity = rocket.velocity / speed * new_speed;
    }
    if (rocket.homing && rocket.has_target) steerRocket(rocket, speed, dt);
    rocket.position += rocket.velocity * dt;
}

void agePuff(SmokePuff& puff, float dt) {
    puff.life -= dt;
    puff.size *= 1.0f + 0.1f * dt;
    float r = puff.life / puff.max_life;
    int alpha = static_cast<int>(r * 180.0f * r * 0.4f);
    puff.colour.a = static_cast<std::uint8_t>(std::clamp(alpha, 0, 255));
    puff.x += puff.vx * dt;
    puff.y += puff.vy * dt;
    float drag = 0.99f - 0.1f * dt;
    puff.vx *= drag;
    puff.vy *= drag;
}

int puffsToShed(float speed) {
    // One puff below 150 px/s and one more per further 150 px/s, at most five.
    int count = 1 - static_cast<int>(std::trunc(speed / -150.0f));
    return std::min(count, 5);
}

// One new puff a little behind the projectile. The nine battleRand() draws keep this order.
// A projectile at rest has no "behind": its puff starts at its own position.
SmokePuff newPuff(const Projectile& projectile, float speed) {
    sf::Vector2f position = projectile.position;
    sf::Vector2f heading = speed > 0 ? projectile.velocity / speed : sf::Vector2f(0, 0);
    SmokePuff puff;
    float back = float(battleRand() % 15) / 10.0f + 0.5f;
    float angle = float(battleRand() % 360) * kPiTo5Places / 180.0f;
    float jitter = float(battleRand() % 15) / 10.0f;
    puff.colour = projectile.smoke_colour;
    puff.colour.a = static_cast<std::uint8_t>(50 + battleRand() % 40);
    puff.size = float(battleRand() % 20) / 30.0f + 0.5f;
    puff.life = puff.max_life = float(battleRand() % 150) / 1000.0f + 0.15f;
    float f = float(battleRand() % 10) / 100.0f + 0.03f;
    puff.vy = -projectile.velocity.y * f + float(battleRand() % 20 - 10) / 15.0f;
    puff.vx = -projectile.velocity.x * f + float(battleRand() % 20 - 10) / 15.0f;
    puff.x = position.x - heading.x * back + battleCos(angle) * jitter;
    puff.y = position.y - heading.y * back + battleSin(angle) * jitter;
    return puff;
}
}  // namespace

Projectile makeShell(sf::Vector2f position, sf::Vector2f direction, bool is_player, sf::Color fill, float speed,
                     float lifetime) {
    Projectile shell;
    shell.fill = fill;
    shell.position = position;
    shell.velocity = direction * speed;
    shell.lifetime = shell.life_remaining = lifetime;
    shell.is_player = is_player ? 1 : 0;
    return shell;
}

void flyProjectile(Projectile& projectile, float dt) {
    if (projectile.is_rocket)
        flyRocket(projectile, dt);
    else
        flyShell(projectile, dt);
}

void updateSmoke(Projectile& projectile, float dt) {
    std::vector<SmokePuff>& smoke = projectile.smoke;
    for (SmokePuff& puff : smoke) agePuff(puff, dt);
    smoke.erase(std::remove_if(smoke.begin(), smoke.end(),
                               [](const SmokePuff& puff) { return puff.life <= 0 || puff.size < 0.02f; }),
                smoke.end());

    float speed = vectorLength(projectile.velocity);
    for (int i = puffsToShed(speed); i > 0; --i) smoke.push_back(newPuff(projectile, speed));

    if (smoke.size() > kMaxPuffs) smoke.erase(smoke.begin(), smoke.end() - kMaxPuffs);
}
