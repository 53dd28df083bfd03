#include "battle/battle_support.h"
#include "support.h"

#include <gtest/gtest.h>
#include <cstdlib>

TEST(Push, StackedUnitsSeparateAndTheSturdierMovesLess) {
    GameFixture fixture;
    Game& game = *fixture.game;
    addUnit(game, true, 1, {450, 500}).hp = 300;
    addUnit(game, true, 1, {450, 500}).hp = 100;
    std::srand(3);
    pushPhysics(game, 0.1f);
    const Turret& sturdy = game.player_turrets[0];
    const Turret& light = game.player_turrets[1];
    sf::Vector2f start(450, 500);
    EXPECT_GT(vectorLength(light.body.getPosition() - start), 0.5f);
    EXPECT_NEAR(vectorLength(sturdy.body.getPosition() - start) * 2, vectorLength(light.body.getPosition() - start), 1e-3f);
    for (int frame = 0; frame < 200; ++frame) pushPhysics(game, 0.016f);
    EXPECT_GE(vectorLength(sturdy.body.getPosition() - light.body.getPosition()), game.push_radius - 1);
}

TEST(Push, UnitsLeaveTheBaseTheyAttackTowardsTheField) {
    GameFixture fixture;
    Game& game = *fixture.game;
    addUnit(game, true, 0, {450, -590}).push_velocity = {0, -80};
    addUnit(game, true, 0, {-100, -585});
    addUnit(game, false, 2, {900, 1175});
    pushPhysics(game, 0.016f);
    EXPECT_EQ(game.player_turrets[0].body.getPosition(), sf::Vector2f(450, -563));
    EXPECT_EQ(game.player_turrets[0].push_velocity, sf::Vector2f(0, 0));
    EXPECT_EQ(game.player_turrets[1].body.getPosition(), sf::Vector2f(-100, -563));
    EXPECT_EQ(game.enemy_turrets[0].body.getPosition(), sf::Vector2f(900, 1163));
}
