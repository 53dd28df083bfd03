#include "app/game_process.h"
#include "support.h"

#include <gtest/gtest.h>

// Esc on every screen of a single-player visit, and P around a running match, through
// the real window.
TEST(EndToEnd, EscBacksOutOfEveryScreenAndPPausesTheMatch) {
    TempDir dir;
    dir.write("config.json", kQuickConfig);
    dir.write("levels.json", kQuickLevel);
    GameProcess game(dir.path());
    ASSERT_TRUE(game.waitForWindow(15)) << game.output();

    game.click(640, 440);  // network: the lobby
    game.key("Escape");    // back to the main menu, whose single-player button works again
    game.key("Escape");    // the main menu stays
    game.click(640, 280);
    game.click(160 + 90, 360);
    ASSERT_TRUE(game.waitForOutput("Selected Red\n", 5)) << game.output();
    game.key("Escape");  // the faction selection back to the main menu, the pick forgotten
    game.click(640, 280);
    ASSERT_NO_FATAL_FAILURE(pickFaction(game, 1, "Yellow"));
    EXPECT_EQ(game.output().find("Faction confirmed: 0"), std::string::npos) << game.output();

    game.key("Escape");  // the level selection back to the faction selection
    ASSERT_NO_FATAL_FAILURE(pickFaction(game, 2, "Blue"));
    game.click(90 + 110, 110 + 65);
    ASSERT_TRUE(game.waitForOutput("Starting level: 0 - 速战\n", 5)) << game.output();
    game.key("p");
    ASSERT_TRUE(game.waitForOutput("⏸ 游戏已暂停\n", 5)) << game.output();
    game.key("p");
    ASSERT_TRUE(game.waitForOutput("▶ 游戏继续\n", 5)) << game.output();
    game.key("Escape");  // the match is abandoned for the level selection
    ASSERT_TRUE(game.waitForOutput("🔄 返回关卡选择界面，所有状态已重置\n", 5)) << game.output();
    game.click(90 + 110, 110 + 65);
    ASSERT_TRUE(waitUntil([&] { return countOf(game.output(), "Starting level: 0 - 速战\n") == 2; }, 5, 100))
        << game.output();

    for (const char* lane_key : {"q", "w", "e"}) game.key(lane_key);
    ASSERT_TRUE(game.waitForOutput("游戏结束，显示结算画面\n", 20)) << game.output();
    game.key("Escape");  // the results give way at once, well before their three seconds
    EXPECT_TRUE(waitUntil([&] { return countOf(game.output(), "🔄 返回关卡选择界面，所有状态已重置\n") == 2; },
                          1.5, 50)) << game.output();

    game.requestClose();
    EXPECT_EQ(game.waitForExit(5), 0) << game.output();
}
