#include "app/game_process.h"
#include "support.h"

#include <filesystem>
#include <gtest/gtest.h>

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
