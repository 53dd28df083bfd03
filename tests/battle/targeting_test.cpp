#include "battle/battle_support.h"

#include <gtest/gtest.h>

using Targeting = BattleTest;

TEST_F(Targeting, ReachOfEachWeapon) {
    game.player_projectile_speed = 50;
    Turret& unit = addUnit(game, true, 1, {450, 500});
    Turret& target = addUnit(game, false, 1, {450, 500 - 24 - 90});
    EXPECT_FALSE(canReach(game, unit, target));  // a cannon is held to how far its shells fly
    unit.weapon = RocketLauncher;
    EXPECT_TRUE(canReach(game, unit, target));  // exactly at reach
    target.body.move(0, -0.5f);
    EXPECT_FALSE(canReach(game, unit, target));
}

TEST_F(Targeting, OtherLanesAreTargetedOnlyWhileUncovered) {
    // Time stands still, so no unit fires: the aim and the move show the choice.
    game.player_projectile_speed = 1000;
    addUnit(game, false, 1, {450, 400}).range = 40;
    addUnit(game, true, 0, {390, 450});
    updatePlayerTurrets(game, 0.1f);
    EXPECT_NEAR(game.player_turrets[0].barrel.getRotation(), 50.19f, 0.01f);  // aims at it
    EXPECT_EQ(game.player_turrets[0].body.getPosition(), sf::Vector2f(390, 450));  // in reach, out of its reach

    addUnit(game, true, 1, {450, 480});  // covers the enemy from its own lane
    updatePlayerTurrets(game, 0.1f);
    const Turret& moved = game.player_turrets[0];
    EXPECT_NEAR(moved.barrel.getRotation(), 0, 0.01f);  // aims at the base straight ahead
    EXPECT_GT(moved.body.getPosition().x, 390);         // drives towards the other lane's enemy
    EXPECT_LT(moved.body.getPosition().y, 450);
}

TEST_F(Targeting, BlockedProbeStopsTheUnitAndBasesBlock) {
    addUnit(game, true, 1, {450, 490});
    addUnit(game, true, 1, {450, 500});
    updatePlayerTurrets(game, 0.1f);
    EXPECT_EQ(game.player_turrets[1].body.getPosition(), sf::Vector2f(450, 500));
    EXPECT_FLOAT_EQ(game.player_turrets[0].body.getPosition().y, 484.5f);

    const Turret& unit = game.player_turrets[0];
    EXPECT_TRUE(isBlocked(game, {0, -580 + 11.9f}, 2, &unit));  // inside the grown enemy base
    EXPECT_FALSE(isBlocked(game, {0, -580 + 12}, 2, &unit));
    EXPECT_FALSE(isBlocked(game, {0, -580 + 11.9f}, 2, nullptr));
}
