#include "battle/projectile.h"
#include "battle/rocket_draw.h"
#include "ui/canvas.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <cmath>
#include <cstdlib>
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
    // Within a pixel of its target it only accelerates: 100 + 300 x 0.02.
    Projectile rocket = rocketAt({10, 10}, {0, -100}, {10.5f, 10});
    flyProjectile(rocket, 0.02f);
    EXPECT_EQ(rocket.velocity, sf::Vector2f(0, -106));
    EXPECT_EQ(rocket.wobble_phase, 0.0f);
}

TEST(RocketSmoke, PuffsPerSpeedIncludingAProjectileAtRest) {
    const std::pair<float, size_t> cases[] = {{0, 1}, {149, 1}, {150, 2}, {300, 3}, {800, 5}};
    for (auto [speed, puffs] : cases) {
        Projectile shell = makeShell({50, 60}, {0, 1}, false, sf::Color::Red, speed, 1);
        updateSmoke(shell, 0.016f);
        ASSERT_EQ(shell.smoke.size(), puffs) << speed;
        for (const SmokePuff& puff : shell.smoke) EXPECT_LE(std::hypot(puff.x - 50, puff.y - 60), 3.4f) << speed;
    }
}

TEST(RocketSmoke, NewPuffTakesItsRandomDrawsInOrder) {
    Projectile rocket = rocketAt({100, 200}, {0, -120}, {});
    std::srand(77);
    int r[9];
    for (int& draw : r) draw = std::rand();
    std::srand(77);
    updateSmoke(rocket, 0.016f);
    ASSERT_EQ(rocket.smoke.size(), 1u);
    const SmokePuff& puff = rocket.smoke[0];
    float angle = float(r[1] % 360) * 3.14159f / 180, jitter = float(r[2] % 15) / 10;
    EXPECT_FLOAT_EQ(puff.y, 200 + float(r[0] % 15) / 10 + 0.5f + std::sin(angle) * jitter);
    EXPECT_FLOAT_EQ(puff.x, 100 + std::cos(angle) * jitter);
    EXPECT_EQ(puff.colour.a, 50 + r[3] % 40);
    EXPECT_FLOAT_EQ(puff.size, float(r[4] % 20) / 30 + 0.5f);
    EXPECT_FLOAT_EQ(puff.max_life, float(r[5] % 150) / 1000 + 0.15f);
    EXPECT_FLOAT_EQ(puff.vy, 120 * (float(r[6] % 10) / 100 + 0.03f) + float(r[7] % 20 - 10) / 15);
    EXPECT_FLOAT_EQ(puff.vx, float(r[8] % 20 - 10) / 15);
}

TEST(RocketSmoke, PuffsAgeAndOnlyTheNewest2000Remain) {
    Projectile shell = makeShell({0, 0}, {1, 0}, true, sf::Color::Red, 100, 1);
    for (int i = 0; i < 2100; ++i) shell.smoke.push_back({float(i), 0, 10, 0, 1, 1, 1, sf::Color(0, 0, 0, 255)});
    shell.smoke[5].life = 0.05f;  // dies of age in this step
    updateSmoke(shell, 0.1f);
    ASSERT_EQ(shell.smoke.size(), 2000u);
    const SmokePuff& oldest = shell.smoke.front();
    EXPECT_FLOAT_EQ(oldest.x, 101 + 1);  // 2099 aged + 1 new: the 100 oldest dropped
    EXPECT_FLOAT_EQ(oldest.size, 1.01f);
    EXPECT_EQ(oldest.colour.a, 58);  // 0.9 x 180 x 0.9 x 0.4
}

TEST(RocketDrawing, RocketPointsAlongItsHeadingAndEachRocketAdvancesTheFlame) {
    sf::RenderTexture texture;
    ASSERT_TRUE(texture.create(64, 64));
    texture.clear(sf::Color::Black);
    Canvas canvas;
    canvas.target = &texture;
    Projectile rocket = rocketAt({32, 32}, {100, 0}, {});  // heading +x: nose right, flames left
    float phase = flame_phase;
    drawRocket(canvas, rocket);
    drawRocket(canvas, rocket);
    EXPECT_FLOAT_EQ(flame_phase, phase + 0.3f);
    flushCanvas(canvas);
    texture.display();
    sf::Image image = texture.getTexture().copyToImage();
    EXPECT_GT(image.getPixel(49, 32).r, 200);  // red nose
    EXPECT_GT(image.getPixel(38, 32).g, 150);  // gold body, only 4 wide
    EXPECT_EQ(image.getPixel(32, 38), sf::Color::Black);
}
