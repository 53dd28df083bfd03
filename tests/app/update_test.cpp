#include "app/clock.h"
#include "app/game.h"
#include "app/update.h"
#include "content/factions.h"
#include "support.h"

#include <gtest/gtest.h>

namespace {
// A confirmed single-player match whose clocks follow the test's manual time.
void startMatch(Game& game) {
    game.game_started = game.faction_confirmed = game.level_running = true;
    game.level_select_active = false;
    update(game, 0);
}
}  // namespace

TEST(MatchFrame, IncomeTicksOncePerFrameWithYellowFactors) {
    ManualClockSource clock;
    GameFixture fixture;
    Game& game = *fixture.game;
    game.player_faction = Yellow;
    game.enemy_faction = Red;
    game.player_income = game.enemy_income = 10;
    startMatch(game);
    float player = game.player_money, enemy = game.enemy_money;

    clock.advance(2.5f);
    update(game, 2.5f);
    EXPECT_FLOAT_EQ(game.player_money, player + 20);
    EXPECT_FLOAT_EQ(game.enemy_money, enemy + 10);
    clock.advance(0.9f);  // the 1.5 s beyond the tick were dropped
    update(game, 0.9f);
    EXPECT_FLOAT_EQ(game.player_money, player + 20);

    game.player_faction = Blue;
    game.enemy_faction = Yellow;
    clock.advance(0.1f);
    update(game, 0.1f);
    EXPECT_FLOAT_EQ(game.player_money, player + 30);
    EXPECT_FLOAT_EQ(game.enemy_money, enemy + 40);
}

TEST(MatchFrame, CameraKeysMoveAFixedStepPerFrameWhateverTheFrameTime) {
    ManualClockSource clock;
    GameFixture fixture;
    Game& game = *fixture.game;
    startMatch(game);
    game.input.key_up = true;
    for (float dt : {0.001f, 0.25f}) {
        float before = game.camera_target.y;
        update(game, dt);
        EXPECT_FLOAT_EQ(game.camera_target.y, before - 8) << dt;
    }
    game.input.key_down = true;  // both held cancel out
    update(game, 0.1f);
    EXPECT_FLOAT_EQ(game.camera_target.y, 284);
}
