#include "battle/battle_support.h"
#include "content/factions.h"
#include "events.h"

#include <gtest/gtest.h>

using Units = BattleTest;

TEST_F(Units, LaneKeysSpawnFactionUnitsAndRedPaysAQuarter) {
    const int weapons[kFactionCount] = {Cannon, RocketLauncher, Cannon, Cannon, Laser};
    for (int faction = 0; faction < kFactionCount; ++faction) {
        game.player_faction = faction;
        keyPress(game, sf::Keyboard::E);
        EXPECT_EQ(game.player_turrets.back().weapon, weapons[faction]);
        EXPECT_EQ(game.player_turrets.back().body.getFillColor(), factionColour(faction));
    }
    EXPECT_EQ(game.player_turrets.back().body.getPosition(), sf::Vector2f(520, 1200));
    EXPECT_FLOAT_EQ(game.player_money, 1000 - 12.5f - 4 * 50);

    game.player_faction = Red;
    game.player_money = 12.5f;
    spawnPlayerTurret(game, 1);
    game.player_money = 12.4f;
    spawnPlayerTurret(game, 1);
    spawnPlayerTurret(game, 3);  // no such lane
    EXPECT_EQ(game.player_turrets.size(), 6u);
    EXPECT_FLOAT_EQ(game.player_money, 12.4f);
}

TEST_F(Units, EnemySpawnPaysEvenWhenBlockedAndIsFreeOnTheNetwork) {
    game.enemy_faction = Red;
    keyPress(game, sf::Keyboard::I);
    game.enemy_turrets[0].body.setPosition(450, -586);  // 14 pixels from the spawn point
    keyPress(game, sf::Keyboard::I);
    EXPECT_EQ(game.enemy_turrets.size(), 1u);
    EXPECT_FLOAT_EQ(game.enemy_money, 1000 - 2 * 12.5f);
    game.enemy_turrets[0].body.setPosition(450, -585);
    game.network_mode = true;  // not connected: the key still spawns here, for free
    game.enemy_money = 0;
    keyPress(game, sf::Keyboard::I);
    EXPECT_EQ(game.enemy_turrets.size(), 2u);
    EXPECT_EQ(game.enemy_turrets[1].body.getPosition(), sf::Vector2f(450, -600));
}

TEST_F(Units, PlayerBonusesAreAddedAgainOnEverySpawnWithinBounds) {
    spawnPlayerTurret(game, 0);
    game.player_upgrades.range_bonus = 10;
    game.player_upgrades.dodge_bonus = 0.5f;
    game.player_upgrades.fire_rate_bonus = 0.35f;
    applyPlayerUpgrades(game);
    spawnPlayerTurret(game, 1);
    spawnPlayerTurret(game, 2);
    const Turret& first = game.player_turrets[0];
    EXPECT_FLOAT_EQ(first.range, 90 + 30);
    EXPECT_FLOAT_EQ(game.player_turrets[2].range, 90 + 10);
    EXPECT_FLOAT_EQ(first.dodge, 0.9f);
    EXPECT_FLOAT_EQ(first.fire_rate, 0.02f);
}
