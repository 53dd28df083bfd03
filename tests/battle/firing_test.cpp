#include "battle/battle_support.h"
#include "content/factions.h"

#include <gtest/gtest.h>
#include <cstdlib>

using Firing = BattleTest;

TEST_F(Firing, CannonShellAndSeededRecoil) {
    game.player_faction = Purple;
    game.player_projectile_speed = 300;
    game.player_projectile_lifetime = 0.7f;
    addUnit(game, false, 1, {450, 420});
    addUnit(game, true, 1, {450, 500}).damage = 1.5f;
    clock.advance(1);
    std::srand(42);
    float k = float(std::rand() % 40) / 100.0f + 0.8f;
    std::srand(42);
    updatePlayerTurrets(game, 0);
    updatePlayerTurrets(game, 0);  // the shot restarted the clock
    ASSERT_EQ(game.projectiles.size(), 1u);
    const Projectile& shell = game.projectiles[0];
    EXPECT_FLOAT_EQ(shell.velocity.y, -300);
    EXPECT_FLOAT_EQ(shell.life_remaining, 0.7f);
    EXPECT_EQ(shell.is_player, 1);
    EXPECT_EQ(shell.shape.getFillColor(), factionColour(Purple));
    EXPECT_FLOAT_EQ(shell.damage_amount, 1.5f);
    EXPECT_NEAR(game.player_turrets[0].body.getPosition().y, 500 + 6 * k, 1e-3f);  // pushed back
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
    std::srand(7);
    float frequency = float(std::rand() % 30) / 10.0f + 6.0f;
    float amplitude = float(std::rand() % 8) / 100.0f + 0.08f;
    std::srand(7);
    fireAt(game, unit, {450, 420});
    ASSERT_EQ(game.projectiles.size(), 1u);
    const Projectile& rocket = game.projectiles[0];
    EXPECT_EQ(rocket.shape.getPosition(), sf::Vector2f(450, 472));
    EXPECT_EQ(rocket.velocity, sf::Vector2f(0, -50));
    EXPECT_FLOAT_EQ(rocket.wobble_frequency, frequency);
    EXPECT_FLOAT_EQ(rocket.wobble_amplitude, amplitude);
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
