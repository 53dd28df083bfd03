#include "app/game_process.h"
#include "content/replay.h"
#include "support.h"

#include <filesystem>
#include <unistd.h>

// Esc on every screen of a single-player visit through the real window (in the match it opens and
// closes the pause menu), and a level played to its results.
TEST(EndToEnd, EscBacksOutOfEveryScreenAndALevelIsPlayedToItsResults) {
    TempDir dir({{"config.json", kQuickConfig}, {"levels.json", kQuickLevel}});
    const std::string replay_folder = gameReplayFolder(dir.path());
    std::filesystem::remove_all(replay_folder);
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
    game.key("Escape");  // the pause menu, over the match standing still; Esc again resumes it
    ASSERT_TRUE(game.waitForOutput("⏸ 游戏已暂停\n", 5)) << game.output();
    game.key("Escape");
    ASSERT_TRUE(game.waitForOutput("▶ 游戏继续\n", 5)) << game.output();
    for (const char* lane_key : {"q", "w", "e"}) game.key(lane_key);
    ASSERT_TRUE(game.waitForOutput("游戏结束，显示结算画面\n", 20)) << game.output();
    game.key("Escape");  // the results give way at once, well before their three seconds
    EXPECT_TRUE(game.waitForOutput("🔄 返回关卡选择界面，所有状态已重置\n", 1.5)) << game.output();

    game.requestClose();
    EXPECT_EQ(game.waitForExit(5), 0) << game.output();

    // The match was kept, and plays again without a window to the same digests, on this
    // Linux build whichever build recorded it.
    std::vector<std::string> replays = listReplays(replay_folder);
    ASSERT_EQ(replays.size(), 1u) << game.output();
    EXPECT_NE(game.output().find(".tvxreplay\n"), std::string::npos) << game.output();
    Replay replay;
    ASSERT_EQ(loadReplay(replays[0], replay), "");
    EXPECT_EQ(replay.result, "won");
    std::string verified = dir.path() + "/verified.txt";
    EXPECT_EQ(runCommand(linuxGameCommand() + " --verify-replay '" + replays[0] + "' > '" + verified + "'"), 0)
        << replay.build << ": " << fileContents(verified);
    EXPECT_EQ(fileContents(verified).rfind("replay ok: ", 0), 0u) << fileContents(verified);
}

// The Debian package: lintian finds no error or warning in it, its desktop entry and
// AppStream data pass their validators, and installed, the game plays from a folder that holds
// none of its files, finding its data in /usr/share/tarvex.
TEST(Package, DebianToolsAcceptItAndTheInstalledGamePlaysFromAnyFolder) {
    TempDir packages;
    ASSERT_EQ(runCommand("cpack -G DEB --config '" TARVEX_BUILD_DIR "/CPackConfig.cmake' -B . > cpack.log"), 0)
        << fileContents(packages.path() + "/cpack.log");
    const std::string deb = packages.path() + "/tarvex_" TARVEX_VERSION_TEXT "_amd64.deb";
    EXPECT_EQ(runCommand("lintian --fail-on error,warning '" + deb + "' > lintian.log 2>&1"), 0)
        << fileContents(packages.path() + "/lintian.log");
    EXPECT_EQ(runCommand("desktop-file-validate '" TARVEX_SOURCE_DIR "/packaging/tarvex.desktop'"), 0);
    EXPECT_EQ(runCommand("appstreamcli validate --no-net '" TARVEX_SOURCE_DIR
                         "/packaging/org.tarvex.tarvex.metainfo.xml' > /dev/null"), 0);
    if (geteuid() != 0) GTEST_SKIP() << "installing the package needs root";

    ASSERT_EQ(runCommand("dpkg -i '" + deb + "' > dpkg.log 2>&1"), 0) << fileContents(packages.path() + "/dpkg.log");
    for (const char* file : {"/usr/games/tarvex", "/usr/share/tarvex/levels.json", "/usr/share/tarvex/bgm.wav",
                             "/usr/share/man/man6/tarvex.6.gz", "/usr/share/doc/tarvex/copyright",
                             "/usr/share/metainfo/org.tarvex.tarvex.metainfo.xml"})
        EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
    TempDir elsewhere;
    GameProcess game(elsewhere.path(), "/usr/games/tarvex");
    bool opened = game.waitForWindow(20) && game.waitForOutput("Data file levels.json", 10);
    std::string log = game.output();
    EXPECT_TRUE(opened) << log;
    EXPECT_EQ(countOf(log, "Data file config.json: /usr/games/../share/tarvex/config.json\n"), 1u) << log;
    EXPECT_EQ(countOf(log, "Data file levels.json: /usr/games/../share/tarvex/levels.json\n"), 1u) << log;
    EXPECT_EQ(countOf(log, "✅ All sounds loaded successfully!"), 1u) << log;
    EXPECT_EQ(countOf(log, "_normal.png loaded!"), 5u) << log;
    game.requestClose();
    EXPECT_EQ(game.waitForExit(10), 0);
    EXPECT_EQ(runCommand("dpkg -r tarvex > /dev/null"), 0);
}
