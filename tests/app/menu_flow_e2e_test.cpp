#include "app/game_process.h"
#include "support.h"

#include <gtest/gtest.h>

// The real binary in an empty working directory: it finds its data beside itself.
TEST(EndToEnd, ClickThroughToLevelSelectionAndCloseCleanly) {
    TempDir dir;
    GameProcess game(dir.path());
    ASSERT_TRUE(game.waitForWindow(15)) << game.output();

    game.click(640, 280);  // single player
    game.click(160 + 90, 360);  // the Red card
    ASSERT_TRUE(game.waitForOutput("Selected Red\n", 5)) << game.output();
    game.click(900, 650);  // confirm
    ASSERT_TRUE(game.waitForOutput("Faction confirmed: 0\n", 5)) << game.output();
    game.click(60, 40);  // back to the faction screen
    game.click(160 + 195 + 90, 360);
    ASSERT_TRUE(game.waitForOutput("Selected Yellow\n", 5)) << game.output();

    game.requestClose();
    EXPECT_EQ(game.waitForExit(5), 0) << game.output();
}
