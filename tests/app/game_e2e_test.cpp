#include "app/game_process.h"
#include "support.h"

#include <filesystem>

// Esc on every screen of a single-player visit through the real window but the match (see the pause
// tests), and a level played to its results.
TEST(EndToEnd, EscBacksOutOfEveryScreenAndALevelIsPlayedToItsResults) {
    TempDir dir;
    dir.write("config.json", kQuickConfig);
    dir.write("levels.json", kQuickLevel);
    GameProcess game(dir.path());
    ASSERT_TRUE(game.waitForWindow(15)) << game.output();

    game.key("Escape");  // the main menu stays
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
    for (const char* lane_key : {"q", "w", "e"}) game.key(lane_key);
    ASSERT_TRUE(game.waitForOutput("游戏结束，显示结算画面\n", 20)) << game.output();
    game.key("Escape");  // the results give way at once, well before their three seconds
    EXPECT_TRUE(game.waitForOutput("🔄 返回关卡选择界面，所有状态已重置\n", 1.5)) << game.output();

    game.requestClose();
    EXPECT_EQ(game.waitForExit(5), 0) << game.output();
}

// The installed game, started from a folder that holds none of its files, finds its
// data in ../share/tarvex beside its bin folder.
TEST(Install, TheInstalledGameRunsFromAnyFolder) {
    TempDir prefix;
    ASSERT_EQ(runCommand("cmake --install '" TARVEX_BUILD_DIR "' --prefix '" + prefix.path() + "' > install.log"), 0);
    const std::string share = prefix.path() + "/share/";
    for (const std::string file :
         {"tarvex/config.json", "tarvex/levels.json", "tarvex/bgm.wav", "tarvex/press.ogg", "tarvex/white_hover.png",
          "applications/tarvex.desktop", "icons/hicolor/256x256/apps/tarvex.png"})
        EXPECT_TRUE(std::filesystem::is_regular_file(share + file)) << file;
    EXPECT_EQ(runCommand("grep -qx 'Exec=tarvex' '" + share + "applications/tarvex.desktop'"), 0);

    TempDir elsewhere;
    GameProcess game(elsewhere.path(), prefix.path() + "/bin/tarvex");
    ASSERT_TRUE(game.waitForWindow(20)) << game.output();
    ASSERT_TRUE(game.waitForOutput("Data file levels.json", 10)) << game.output();
    std::string log = game.output();
    EXPECT_EQ(countOf(log, "Data file config.json: " + prefix.path() + "/bin/../share/tarvex/config.json\n"), 1u) << log;
    EXPECT_EQ(countOf(log, "Data file levels.json: " + prefix.path() + "/bin/../share/tarvex/levels.json\n"), 1u) << log;
    EXPECT_EQ(countOf(log, "✅ All sounds loaded successfully!"), 1u) << log;
    EXPECT_EQ(countOf(log, "_normal.png loaded!"), 5u) << log;
    EXPECT_EQ(countOf(log, "ERROR: Cannot load"), 0u) << log;
    game.requestClose();
    EXPECT_EQ(game.waitForExit(10), 0);
}
