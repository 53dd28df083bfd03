#include "app/game_process.h"
#include "support.h"

#include <gtest/gtest.h>

// The real binary plays a whole level: the player picks Blue and the level, sends a unit
// down each lane, the units fight to a result, and the game returns to the level selection.
TEST(EndToEnd, PlayALevelToItsResultAndBackToTheLevelSelection) {
    TempDir dir;
    dir.write("config.json", kQuickConfig);
    dir.write("levels.json", kQuickLevel);
    GameProcess game(dir.path());
    ASSERT_TRUE(game.waitForWindow(15)) << game.output();

    game.click(640, 280);  // single player
    game.click(160 + 2 * 195 + 90, 360);  // the Blue card
    ASSERT_TRUE(game.waitForOutput("Selected Blue\n", 5)) << game.output();
    game.click(900, 650);  // confirm
    ASSERT_TRUE(game.waitForOutput("Faction confirmed: 2\n", 5)) << game.output();
    game.click(90 + 110, 110 + 65);  // the first level card
    ASSERT_TRUE(game.waitForOutput("Starting level: 0 - 速战\n", 5)) << game.output();
    for (const char* lane_key : {"q", "w", "e"}) game.key(lane_key);

    ASSERT_TRUE(game.waitForOutput("游戏结束，显示结算画面\n", 20)) << game.output();
    ASSERT_TRUE(game.waitForOutput("🔄 返回关卡选择界面，所有状态已重置\n", 10)) << game.output();

    game.requestClose();
    EXPECT_EQ(game.waitForExit(5), 0) << game.output();
}
