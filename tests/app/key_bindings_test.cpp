#include "events.h"
#include "support.h"

// The keys are the player's: a rebound key does what the old one did, and the old one
// nothing; a key taken from another action swaps the two; the defaults come back whole.
TEST_F(GameTest, ReboundKeysSpawnInTheirLanesAndTheOldKeysDoNothing) {
    using Key = sf::Keyboard::Key;
    enterMatch(game);
    game.player_money = game.enemy_money = 10000;
    bindKey(game.settings, SpawnLane1, Key::A);
    bindKey(game.settings, OpponentLane2, Key::Numpad3);
    keyPress(game, Key::W);  // lane 1's old key
    keyPress(game, Key::O);  // the opponent's lane 2 old key
    EXPECT_TRUE(game.player_turrets.empty() && game.enemy_turrets.empty());
    keyPress(game, Key::A);
    keyPress(game, Key::Numpad3);
    ASSERT_EQ(game.player_turrets.size(), 1u);
    ASSERT_EQ(game.enemy_turrets.size(), 1u);
    EXPECT_EQ(game.player_turrets[0].lane, 1);
    EXPECT_EQ(game.enemy_turrets[0].lane, 2);

    // Q to lane 1 as well: lane 0, which had Q, takes lane 1's A; no key does two things.
    bindKey(game.settings, SpawnLane1, Key::Q);
    EXPECT_EQ(game.settings.keys[SpawnLane0], Key::A);
    keyPress(game, Key::Q);
    keyPress(game, Key::A);
    ASSERT_EQ(game.player_turrets.size(), 3u);
    EXPECT_EQ(game.player_turrets[1].lane, 1);
    EXPECT_EQ(game.player_turrets[2].lane, 0);

    // P rebound: the pause follows, and P no longer pauses.
    bindKey(game.settings, PauseKey, Key::Space);
    keyPress(game, Key::P);
    EXPECT_FALSE(game.paused);
    keyPress(game, Key::Space);
    EXPECT_TRUE(game.paused);

    game.settings.keys = Settings().keys;  // restore defaults
    for (int action = 0; action < kKeyActionCount; ++action)
        EXPECT_EQ(game.settings.keys[action], defaultKey(action)) << actionName(action);
}
