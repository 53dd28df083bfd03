#include "battle/battle_rand.h"
#include "battle/battle_support.h"

#include <cstdlib>

using Firing = BattleTest;

TEST_F(Firing, ACannonShellCarriesTheSidesValuesAndPushesItsUnitBack) {
    game.player_faction = Purple;
    game.player_projectile_speed = 300;
    game.player_projectile_lifetime = 0.7f;
    addUnit(game, false, 1, {450, 420});
    addUnit(game, true, 1, {450, 500}).damage = 1.5f;
    clock.advance(1);
    updatePlayerTurrets(game, 0);
    updatePlayerTurrets(game, 0);  // the shot restarted the clock
    ASSERT_EQ(game.projectiles.size(), 1u);
    const Projectile& shell = game.projectiles[0];
    EXPECT_FLOAT_EQ(shell.velocity.y, -300);
    EXPECT_FLOAT_EQ(shell.life_remaining, 0.7f);
    EXPECT_EQ(shell.is_player, 1);
    EXPECT_EQ(shell.fill, factionColour(Purple));
    EXPECT_FLOAT_EQ(shell.damage_amount, 1.5f);
    float pushed = game.player_turrets[0].position.y - 500;  // back by 0.8 to 1.2 times 6
    EXPECT_TRUE(pushed >= 4.8f && pushed < 7.2f) << pushed;
}

TEST_F(Firing, BaseChargePacedAndBlueSuffersATwentieth) {
    game.enemy_faction = Blue;
    addUnit(game, true, 1, {450, -540});
    clock.advance(0.6f);
    updatePlayerTurrets(game, 0.016f);
    EXPECT_FLOAT_EQ(game.enemy_money, 1000);
    EXPECT_EQ(game.projectiles.size(), 1u);  // fires at the base all the same
    clock.advance(0.01f);
    updatePlayerTurrets(game, 0.016f);
    EXPECT_FLOAT_EQ(game.enemy_money, 999.95f);
    game.enemy_faction = Red;
    clock.advance(0.61f);
    updatePlayerTurrets(game, 0.016f);
    EXPECT_FLOAT_EQ(game.enemy_money, 998.95f);
}

TEST_F(Firing, RocketLaunchDrawsAndCooldown) {
    addUnit(game, false, 1, {450, 420});
    Turret& unit = addUnit(game, true, 1, {450, 500}, RocketLauncher);
    unit.fire_rate = 0.5f;
    clock.advance(1);
    seedBattleRand(7);
    int frequency_draw = battleRand(), amplitude_draw = battleRand();
    seedBattleRand(7);
    fireAt(game, unit, {450, 420});
    ASSERT_EQ(game.projectiles.size(), 1u);
    const Projectile& rocket = game.projectiles[0];
    EXPECT_EQ(rocket.position, sf::Vector2f(450, 472));
    EXPECT_EQ(rocket.velocity, sf::Vector2f(0, -50));
    // The wobble's two draws, frequency first: a repeated battle depends on their order.
    EXPECT_FLOAT_EQ(rocket.wobble_frequency, float(frequency_draw % 30) / 10.0f + 6.0f);
    EXPECT_FLOAT_EQ(rocket.wobble_amplitude, float(amplitude_draw % 8) / 100.0f + 0.08f);
    EXPECT_FLOAT_EQ(unit.rocket_cooldown, 0.6f);
    clock.advance(0.55f);
    fireAt(game, unit, {450, 420});  // ready by fire_rate, held by the cooldown
    EXPECT_EQ(game.projectiles.size(), 1u);
}

TEST_F(Firing, LaserPacedByThePlayersIntervalTicksAtItsOwn) {
    game.player_upgrades.levels[FireRate] = 4;
    updateLasers(game);
    Turret& laser = addUnit(game, false, 1, {450, 0}, Laser);
    clock.advance(0.07f);
    fireAt(game, laser, {450, 80});
    EXPECT_TRUE(game.laser_beams.empty());
    clock.advance(0.015f);
    fireAt(game, laser, {450, 80});
    clock.advance(0.09f);
    fireAt(game, laser, {460, 60});
    ASSERT_EQ(game.laser_beams.size(), 1u);  // the unit's own beam is refreshed
    EXPECT_FLOAT_EQ(game.laser_beams[0].tick_interval, 0.1f);
    EXPECT_EQ(game.laser_beams[0].owner, laser.id);
    EXPECT_EQ(game.laser_beams[0].end, sf::Vector2f(460, 60));
}

namespace {
Projectile rocketAt(sf::Vector2f position, sf::Vector2f velocity, sf::Vector2f target) {
    Projectile rocket;
    rocket.position = position;
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
    EXPECT_FLOAT_EQ(shell.position.x, 2.0f);
    EXPECT_NEAR(shell.life_remaining, 0.01f, 1e-6f);
    shell.life_remaining = 0.015f;
    flyProjectile(shell, 0.02f);
    EXPECT_FLOAT_EQ(shell.position.x, 2.0f);
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
    EXPECT_EQ(std::make_tuple(rocket.velocity, rocket.wobble_phase, rocket.rotation_deg),
              std::make_tuple(sf::Vector2f(0, -106), 0.25f, -90.0f));
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
