#include "app/game.h"
#include "battle/effects.h"
#include "battle/effects_draw.h"
#include "content/factions.h"
#include "support.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>

namespace {
constexpr float kDegrees = 3.14159265f / 180;

float uniform(std::mt19937& rng, float a, float b) { return a + (b - a) * float(rng() >> 8) / 16777216.0f; }

// The spark colour rule, drawing from rand() in the same order as the game must.
sf::Color expectedSparkColour() {
    float c = float(std::rand() % 100) / 100;
    if (c < 0.25f) return sf::Color(255, 255, sf::Uint8(220 + std::rand() % 35));
    int blue = c < 0.65f ? 100 + std::rand() % 80 : 30 + std::rand() % 50;
    int green = c < 0.65f ? 220 + std::rand() % 35 : 150 + std::rand() % 70;
    return sf::Color(255, sf::Uint8(green), sf::Uint8(blue));
}

Turret& addUnit(Game& game, bool player, sf::Vector2f position) {
    auto& list = player ? game.player_turrets : game.enemy_turrets;
    list.emplace_back(player, 0);
    list.back().body.setPosition(position);
    list.back().last_track_pos = position;
    return list.back();
}
}  // namespace

TEST(Effects, CannonShotAddsEightySparksAndTwentySmokePuffs) {
    Effects effects;
    emitMuzzleSparks(effects, {100, 200}, effects.muzzle_particle_count, -90);
    emitMuzzleSmoke(effects, {100, 200}, effects.muzzle_particle_count / 4, -90);
    ASSERT_EQ(effects.particles.size(), 100u);
    for (size_t i = 0; i < 80; ++i) {
        const EffectParticle& spark = effects.particles[i];
        EXPECT_EQ(spark.life, spark.max_life);
        EXPECT_GE(spark.life, 0.075f - 1e-6f);
        EXPECT_LE(spark.life, 0.19f + 1e-6f);
        EXPECT_LT(spark.vy, 0);  // the barrel points up the screen
        EXPECT_EQ(spark.end_colour, sf::Color(200, 50, 0, 255));
    }
    // Two updates per frame: every spark is gone after 0.1 s of wall time, the smoke is not.
    updateEffects(effects, 0.1f);
    updateEffects(effects, 0.1f);
    EXPECT_EQ(effects.particles.size(), 20u);
}

TEST(Effects, EmissionDrawsInTheDesignedOrder) {
    Effects effects;
    effects.rng.seed(42);
    std::mt19937 rng = effects.rng;
    std::normal_distribution<float> spread(0.0f, 4.0f);
    std::srand(9);
    // Two separate shots: the second spark's spread is the spare value of the first pair.
    emitMuzzleSparks(effects, {10, 20}, 1, 45);
    emitMuzzleSparks(effects, {10, 20}, 1, 45);
    emitMuzzleSmoke(effects, {10, 20}, 1, 45);
    ASSERT_EQ(effects.particles.size(), 3u);

    std::srand(9);
    for (int i = 0; i < 2; ++i) {
        const EffectParticle& spark = effects.particles[size_t(i)];
        float s = std::clamp(spread(rng), -12.0f, 12.0f);
        float speed = uniform(rng, 80, 400) * std::max(0.5f, 1 - std::fabs(s) / 12 * 0.3f);
        int a = std::rand() % 20;
        int b = std::rand() % 20;
        EXPECT_FLOAT_EQ(spark.vx, std::cos((45 + s) * kDegrees) * speed + float(b - 10) / 20);
        EXPECT_FLOAT_EQ(spark.vy, std::sin((45 + s) * kDegrees) * speed + float(a - 10) / 20);
        EXPECT_FLOAT_EQ(spark.life, (float(std::rand() % 70) / 150 + 0.3f) * 0.25f);
        EXPECT_FLOAT_EQ(spark.size, uniform(rng, 0.5f, 2.5f));
        sf::Color colour = expectedSparkColour();
        EXPECT_EQ(spark.colour, colour);
    }

    const EffectParticle& smoke = effects.particles[2];
    EXPECT_FLOAT_EQ(smoke.y, 20 + float(std::rand() % 30 - 15) / 10);
    EXPECT_FLOAT_EQ(smoke.x, 10 + float(std::rand() % 30 - 15) / 10);
    float angle = (45 - 20 + float(std::rand() % 1000) / 50) * kDegrees;
    float speed = uniform(rng, 10, 60);
    EXPECT_FLOAT_EQ(smoke.vx, std::cos(angle) * speed);
    EXPECT_FLOAT_EQ(smoke.vy, std::sin(angle) * speed - float(5 + std::rand() % 20));
    EXPECT_FLOAT_EQ(smoke.life, float(std::rand() % 30) / 100 + 0.4f);
    EXPECT_FLOAT_EQ(smoke.size, uniform(rng, 3, 8));
    int k = std::rand() % 80;
    EXPECT_EQ(smoke.colour, sf::Color(sf::Uint8(150 + k), sf::Uint8(130 + k), sf::Uint8(110 + k), 120));
    EXPECT_EQ(smoke.end_colour, sf::Color(sf::Uint8(100 + k), sf::Uint8(80 + k), sf::Uint8(70 + k), 0));
}

TEST(Effects, MuzzleFlashPeaksHalfwayAndEndsWithItsDuration) {
    Effects effects;
    addMuzzleFlash(effects, {5, 6});
    ASSERT_EQ(effects.muzzle_flashes.size(), 1u);
    EXPECT_EQ(effects.muzzle_flashes[0].size, 5.0f);
    EXPECT_EQ(effects.muzzle_flashes[0].colour, sf::Color(255, 220, 100, 255));
    updateEffects(effects, 0.02f);
    EXPECT_NEAR(effects.muzzle_flashes[0].size, 22.5f * std::sin(0.25f * 3.14159265f), 1e-3);
    updateEffects(effects, 0.02f);
    EXPECT_NEAR(effects.muzzle_flashes[0].size, 22.5f, 1e-3);
    EXPECT_EQ(effects.muzzle_flashes[0].colour.a, 127);
    updateEffects(effects, 0.02f);
    updateEffects(effects, 0.02f);
    EXPECT_TRUE(effects.muzzle_flashes.empty());
}

TEST(Effects, ExplosionRingsDebrisAndLifetime) {
    Effects effects;
    std::srand(3);
    spawnExplosion(effects, {200, 300}, 60);
    ASSERT_EQ(effects.explosions.size(), 1u);
    const Explosion& explosion = effects.explosions[0];
    ASSERT_EQ(explosion.rings.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const sf::CircleShape& ring = explosion.rings[size_t(i)];
        EXPECT_EQ(ring.getRadius(), 30.0f);
        EXPECT_EQ(ring.getPointCount(), 32u);
        EXPECT_EQ(ring.getOrigin(), sf::Vector2f(30, 30));
        EXPECT_EQ(ring.getPosition(), sf::Vector2f(200, 300));
        EXPECT_EQ(ring.getOutlineColor(), sf::Color(255, 200, 100, sf::Uint8(150 - 50 * i)));
        EXPECT_EQ(ring.getOutlineThickness(), 2.0f - 0.5f * float(i));
    }

    std::srand(3);
    size_t count = size_t(30 + std::rand() % 20);
    ASSERT_EQ(explosion.debris.size(), count);
    const EffectParticle& first = explosion.debris[0];
    float angle = float(std::rand() % 1000) / 1000 * 2 * 3.14159265f;
    float speed = float(std::rand() % 200) / 10 + 50;
    const sf::Color fire[5] = {{255, 255, 200}, {255, 200, 100}, {255, 150, 50}, {255, 100, 0}, {200, 50, 0}};
    EXPECT_EQ(first.colour, fire[std::rand() % 5]);
    EXPECT_FLOAT_EQ(first.size, float(std::rand() % 30) / 10 + 1);
    EXPECT_FLOAT_EQ(first.life, float(std::rand() % 50) / 100 + 0.3f);
    EXPECT_FLOAT_EQ(first.max_life, float(std::rand() % 50) / 100 + 0.3f);
    EXPECT_FLOAT_EQ(first.y, 300 + float(std::rand() % 100 - 50) / 10);
    EXPECT_FLOAT_EQ(first.x, 200 + float(std::rand() % 100 - 50) / 10);
    EXPECT_FLOAT_EQ(first.vx, std::cos(angle) * speed);
    EXPECT_FLOAT_EQ(first.vy, std::sin(angle) * speed);
    EXPECT_EQ(first.end_colour, sf::Color(100, 30, 0, 0));

    updateEffects(effects, 0.4f);
    ASSERT_EQ(effects.explosions.size(), 1u);
    EXPECT_EQ(effects.explosions[0].debris.size(), count);  // debris stays with its explosion
    updateEffects(effects, 0.4f);
    EXPECT_TRUE(effects.explosions.empty());
}

TEST(Effects, TracksFollowMovementInTheSideColour) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.enemy_faction = Blue;
    Turret& player = addUnit(game, true, {100, 100});
    Turret& enemy = addUnit(game, false, {300, 100});
    player.body.setPosition(103.7f, 100);
    enemy.body.setPosition(300, 100.05f);  // too little to leave a mark
    layTracks(game);

    std::vector<TrackMark>& marks = game.effects.track_marks;
    ASSERT_EQ(marks.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(marks[i].x, 100 + 3.7f * float(i) / 3, 1e-4);
        EXPECT_EQ(marks[i].colour, sf::Color(255, 0, 0, 200));
        EXPECT_NEAR(marks[i].vx, 0, 1e-6);  // barrel up: the mark drifts down
        EXPECT_NEAR(marks[i].vy, 1, 1e-6);
        EXPECT_GE(marks[i].life, 0.35f);
        EXPECT_LE(marks[i].life, 0.645f);
        EXPECT_GE(marks[i].size, 2.0f);
        EXPECT_LE(marks[i].size, 5.96f);
    }
    EXPECT_EQ(player.last_track_pos, sf::Vector2f(103.7f, 100));
    EXPECT_EQ(enemy.last_track_pos, sf::Vector2f(300, 100.05f));

    enemy.body.setPosition(300, 102.1f);
    layTracks(game);
    ASSERT_EQ(marks.size(), 5u);
    EXPECT_EQ(marks[3].colour, sf::Color(0, 0, 255, 200));
}

TEST(Effects, DisabledTrailsFreezeExistingMarks) {
    GameFixture fixture(R"({"visual": {"trail": {"enabled": false}, "muzzle_flash": {"size": 10}}})");
    Game& game = *fixture.game;
    Effects& effects = game.effects;
    EXPECT_EQ(effects.trail_enabled, 0);
    EXPECT_EQ(effects.muzzle_size, 10.0f);
    EXPECT_EQ(effects.muzzle_particle_count, 80);

    effects.track_marks.push_back({5, 6, 0.3f, 0.5f, 4, sf::Color(1, 2, 3, 200), 0, 1});
    addTrackMark(effects, {0, 0}, sf::Color::Red, 0);
    Turret& unit = addUnit(game, true, {0, 0});
    unit.body.setPosition(50, 0);
    layTracks(game);
    ASSERT_EQ(effects.track_marks.size(), 1u);
    EXPECT_EQ(unit.last_track_pos, sf::Vector2f(50, 0));

    updateEffects(effects, 1.0f);
    ASSERT_EQ(effects.track_marks.size(), 1u);
    EXPECT_EQ(effects.track_marks[0].life, 0.3f);
    EXPECT_EQ(effects.track_marks[0].y, 6.0f);
    EXPECT_EQ(effects.track_marks[0].colour.a, 200);
}

TEST(Effects, DrawOrderAndHiddenTracks) {
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(64, 64));
    Canvas canvas;
    canvas.target = &target;
    Effects effects;
    effects.particles.push_back({32, 32, 0, 0, 1, 1, 10, sf::Color::Red, sf::Color::Red});
    effects.muzzle_flashes.push_back({32, 32, 4, 0.1f, 0.1f, sf::Color::Blue, 1});
    effects.track_marks.push_back({10, 10, 0.5f, 0.5f, 4, sf::Color(0, 255, 0, 255), 0, 0});

    auto draw = [&] {
        target.clear(sf::Color::Black);
        drawEffects(effects, canvas);
        flushCanvas(canvas);
        target.display();
        return target.getTexture().copyToImage();
    };
    sf::Image picture = draw();
    EXPECT_EQ(picture.getPixel(32, 32), sf::Color::Blue);        // the flash covers the spark
    EXPECT_EQ(picture.getPixel(32, 40), sf::Color::Red);         // the spark beyond the flash
    EXPECT_EQ(picture.getPixel(10, 10), sf::Color(0, 255, 0));  // tracks are drawn last
    effects.trail_enabled = 0;
    EXPECT_EQ(draw().getPixel(10, 10), sf::Color::Black);
}
