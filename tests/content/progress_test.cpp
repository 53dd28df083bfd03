#include "content/places.h"
#include "support.h"

#include <filesystem>

TEST(Progress, WinsAreWrittenAtomicallyAndReadBack) {
    TempDir dir;
    Progress progress{progressFilePath(), {}};
    // The test's data folder (support.cpp), in the platform's spelling.
    const std::string separator = kThisPlatform == Platform::windows ? "\\" : "/";
    ASSERT_EQ(progress.file, dir.path() + "/data" + separator + "tarvex" + separator + "progress.json");
    std::string log = stdoutOf([&] {
        EXPECT_TRUE(recordLevelWon(progress, "第一关"));
        EXPECT_TRUE(recordLevelWon(progress, "Two"));
    });
    EXPECT_EQ(countOf(log, "✅ Progress saved: level won: "), 2u);
    EXPECT_EQ(fileContents(progress.file), "{\n  \"won_levels\": [\n    \"Two\",\n    \"第一关\"\n  ]\n}\n");
    EXPECT_FALSE(std::filesystem::exists(progress.file + ".tmp"));

    Progress again{progress.file, {"stale"}};
    EXPECT_EQ(stdoutOf([&] { loadProgress(again); }), "");
    EXPECT_EQ(again.won_levels, std::set<std::string>({"Two", "第一关"}));
    EXPECT_TRUE(isLevelWon(again, "Two"));
    EXPECT_FALSE(isLevelWon(again, "Three"));
}

TEST(Progress, AFileThatDoesNotParseIsMovedAsideAndPlayGoesOn) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() + "/data/tarvex");
    for (const char* broken : {"{\"won_levels\": [\"One\"", "[\"One\"]", "{\"won_levels\": \"One\"}"}) {
        Progress progress{progressFilePath(), {}};
        dir.write("data/tarvex/progress.json", broken);
        std::string log = stdoutOf([&] { loadProgress(progress); });
        EXPECT_EQ(countOf(log, "\n"), 1u) << log;
        EXPECT_EQ(countOf(log, "moved aside to " + progress.file + ".bad"), 1u) << log;
        EXPECT_TRUE(progress.won_levels.empty());
        EXPECT_FALSE(std::filesystem::exists(progress.file));
        EXPECT_EQ(fileContents(progress.file + ".bad"), broken);
        EXPECT_TRUE(recordLevelWon(progress, "One"));  // and the next win writes a good file
        EXPECT_EQ(countOf(fileContents(progress.file), "\"One\""), 1u);
    }
}

TEST(Progress, AnUnwritableFolderCostsOneLogLineNeverTheMatch) {
    TempDir dir({{"data", "a file where the data folder should be"}});  // root may write anywhere else
    Progress progress{progressFilePath(), {}};
    std::string log = stdoutOf([&] { EXPECT_FALSE(recordLevelWon(progress, "One")); });
    EXPECT_EQ(countOf(log, "\n"), 1u);
    EXPECT_EQ(log.rfind("⚠️ Progress not saved to " + progress.file + ": ", 0), 0u) << log;
    EXPECT_TRUE(isLevelWon(progress, "One"));  // the mark holds for this run
}

