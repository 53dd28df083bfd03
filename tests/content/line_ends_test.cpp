#include "app/seeded_match.h"
#include "content/data_check.h"

#include <sstream>

// Windows editors save config.json and levels.json with "\r\n" line ends; the game and its
// checker read them exactly as the same files with "\n".
namespace {
std::string withWindowsLineEnds(const std::string& text) {
    std::string converted;
    for (char c : text) c == '\n' ? converted += "\r\n" : converted += c;
    return converted;
}

// What --check-data says of the files, with the folder left out.
std::string checkedWithoutFolder(const std::string& config, const std::string& levels) {
    TempDir dir({{"config.json", config}, {"levels.json", levels}});
    std::ostringstream out;
    checkDataFiles(dir.path(), out);
    std::string text = out.str();
    for (std::size_t at; (at = text.find(dir.path())) != std::string::npos;) text.erase(at, dir.path().size());
    return text;
}
}  // namespace

TEST(LineEnds, WindowsLineEndsReadTheSameAsUnixOnes) {
    const std::string config = shippedData("config.json"), levels = shippedData("levels.json");
    PlayedMatch unix_ends = playSeededMatch(false, config, levels);
    EXPECT_EQ(playSeededMatch(false, withWindowsLineEnds(config), withWindowsLineEnds(levels)), unix_ends);
    EXPECT_EQ(countOf(unix_ends.log, "Starting level: 9 - "), 1u) << unix_ends.log;
    // The shipped files change the battle, so a file that failed to read would show.
    EXPECT_NE(playSeededMatch(false, "", levels).digest, unix_ends.digest);

    // The checker names the same line and column for a mistake below a line end.
    const std::string faulty_config = "{\n  \"gameplay\": {\n    \"player_start_money\": -5\n  }\n}\n";
    const std::string faulty_levels = "{\"levels\": [\n  {\"faction\": \"Grey\"}\n]}\n";
    std::string unix_report = checkedWithoutFolder(faulty_config, faulty_levels);
    EXPECT_EQ(checkedWithoutFolder(withWindowsLineEnds(faulty_config), withWindowsLineEnds(faulty_levels)),
              unix_report);
    EXPECT_EQ(countOf(unix_report, "/config.json:3:27: player_start_money must not be negative"), 1u) << unix_report;
    EXPECT_EQ(countOf(unix_report, "/levels.json:2:15: faction \"Grey\""), 1u) << unix_report;
}
