#include "battle/projectile.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
Projectile rocketAt(sf::Vector2f position, sf::Vector2f velocity, sf::Vector2f target) {
    Projectile rocket;
    rocket.shape.setPosition(position);
    rocket.velocity = velocity;
    rocket.target = target;
    rocket.is_rocket = rocket.homing = rocket.has_target = 1;
    rocket.life_remaining = 99999.0f;
    rocket.max_speed = 120;
    rocket.acceleration = 300;
    return rocket;
}
}  // namespace

TEST(ProjectileFlight, ShellMovesOnlyWhileTheFirstSubtractionLeavesItAlive) {
    Projectile shell = makeShell({0, 0}, {1, 0}, true, sf::Color::Red, 100, 0.05f);
    flyProjectile(shell, 0.02f);
    EXPECT_FLOAT_EQ(shell.shape.getPosition().x, 2.0f);
    EXPECT_NEAR(shell.life_remaining, 0.01f, 1e-6f);
    shell.life_remaining = 0.015f;
    flyProjectile(shell, 0.02f);
    EXPECT_FLOAT_EQ(shell.shape.getPosition().x, 2.0f);
    EXPECT_NEAR(shell.life_remaining, -0.005f, 1e-6f);
}

TEST(ProjectileFlight, RocketTurnsAtMostTenRadiansPerSecondAtItsEntrySpeed) {
    for (float amplitude : {0.0f, 300.0f, -300.0f}) {
        Projectile rocket = rocketAt({0, 0}, {100, 0}, {0, 100});  // a quarter turn away
        rocket.wobble_amplitude = amplitude;
        flyProjectile(rocket, 0.02f);
        float turned = std::atan2(rocket.velocity.y, rocket.velocity.x);
        EXPECT_LE(std::abs(turned), 0.2f + 1e-5f) << amplitude;
        EXPECT_NEAR(std::hypot(rocket.velocity.x, rocket.velocity.y), 100.0f, 1e-3f);
        EXPECT_NEAR(rocket.rotation_deg, turned * 180 / 3.14159f, 1e-3f);
        EXPECT_EQ(rocket.life_remaining, 99999.0f);
    }
    // Within a pixel of its target it only accelerates, 100 + 300 x 0.02, and its wobble waits.
    Projectile rocket = rocketAt({10, 10}, {0, -100}, {10.5f, 10.5f});
    rocket.wobble_phase = 0.25f;
    rocket.rotation_deg = -90;
    flyProjectile(rocket, 0.02f);
    EXPECT_EQ(rocket.velocity, sf::Vector2f(0, -106));
    EXPECT_EQ(rocket.wobble_phase, 0.25f);
    EXPECT_EQ(rocket.rotation_deg, -90);
}

TEST(RocketSmoke, PuffsPerSpeedIncludingAtRestAndOnlyTheNewest2000Remain) {
    const std::pair<float, size_t> cases[] = {{0, 1}, {149, 1}, {150, 2}, {300, 3}, {800, 5}};
    for (auto [speed, puffs] : cases) {
        Projectile shell = makeShell({50, 60}, {0, 1}, false, sf::Color::Red, speed, 1);
        updateSmoke(shell, 0.016f);
        ASSERT_EQ(shell.smoke.size(), puffs) << speed;
        for (const SmokePuff& puff : shell.smoke) EXPECT_LE(std::hypot(puff.x - 50, puff.y - 60), 3.4f) << speed;
    }
    Projectile shell = makeShell({0, 0}, {1, 0}, true, sf::Color::Red, 100, 1);
    for (int i = 0; i < 2100; ++i) shell.smoke.push_back({float(i), 0, 10, 0, 1, 1, 1, sf::Color(0, 0, 0, 255)});
    shell.smoke[5].life = 0.05f;  // dies of age in this step
    updateSmoke(shell, 0.1f);
    ASSERT_EQ(shell.smoke.size(), 2000u);
    EXPECT_FLOAT_EQ(shell.smoke.front().x, 101 + 1);  // 2099 aged + 1 new: the 100 oldest dropped
}
