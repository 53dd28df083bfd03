#include "content/config.h"
#include "content/data_check.h"
#include "support.h"

#include <sstream>

namespace {
// Each problem as "line:column: message".
std::vector<std::string> lines(const std::vector<DataProblem>& problems) {
    std::vector<std::string> out;
    for (const DataProblem& problem : problems)
        out.push_back(std::to_string(problem.at.line) + ":" + std::to_string(problem.at.column) + ": " + problem.message);
    return out;
}

using Lines = std::vector<std::string>;
}  // namespace

TEST(DataCheck, SyntaxErrorsNameTheLineAndColumnOfTheFault) {
    EXPECT_EQ(lines(checkConfigText("{\n  \"gameplay\": {\n    \"player_start_money\" 1000\n  }\n}\n")),
              Lines({"3:26: syntax error while parsing object separator - unexpected number literal; expected ':'"}));
    // Columns count characters, so a Chinese name before the fault counts one per character.
    EXPECT_EQ(lines(checkLevelsText("\xEF\xBB\xBF{\"levels\": [{\"name\": \"第一关\",}]}")),
              Lines({"1:28: syntax error while parsing object key - unexpected '}'; expected string literal"}));
    EXPECT_EQ(lines(checkLevelsText("")).size(), 1u);
}

// A key outside the table is named with the nearest key; a value must fit its key.
TEST(DataCheck, ConfigKeysOutsideTheTableAndValuesOfTheWrongTypeOrOutOfRange) {
    auto unknown = [](const std::string& key, const std::string& nearest) {
        return "unknown key \"" + key + "\": the game never reads it; did you mean \"" + nearest + "\"?";
    };
    EXPECT_EQ(lines(checkConfigText(R"({"turret": {"enemy": {"hp": -2, "range": "far", "fire_rate": 0, "body_color": [300, 0],
  "barrel": {"color": [1, 2, 256]}, "blue": {"move_speed": -5, "projectile_speed": 0}},
  "player": {"red": {"hpp": 3}, "barel": {"width": 4}}},
  "visual": {"trail": {"enabled": 1}}, "gameplay": 7, "audio": {"effects_volume": 101, "music_volum": 50},
  "colour": 1})")),
              Lines({"1:29: hp must be above 0, found -2", "1:42: range must be a number, found \"far\"",
                     "1:62: fire_rate must be above 0, found 0",
                     "1:79: body_color must be a colour [r, g, b], found an array",
                     "2:30: color entry must be within 0..255, found 256",
                     "2:60: move_speed must not be negative, found -5",
                     "2:84: projectile_speed must be above 0, found 0",
                     "3:22: " + unknown("/turret/player/red/hpp", "/turret/player/red/hp"),
                     "3:33: " + unknown("/turret/player/barel", "/turret/player/barrel"),
                     "4:35: enabled must be true or false, found 1",
                     "4:52: gameplay must be an object of keys, found 7",
                     "4:83: effects_volume must be within 0..100, found 101",
                     "4:88: " + unknown("/audio/music_volum", "/audio/music_volume"),
                     "5:3: " + unknown("/colour", "/ui")}));
}

TEST(DataCheck, LevelMistakesOfEveryKind) {
    EXPECT_EQ(lines(checkLevelsText(R"({"levels": [
  {"nmae": "One", "faction": "blue", "enemy_initial_money": -1,
   "waves": [{"time": 10, "count": 0, "lane": 3}, {"time": 5, "lane": -1, "count": 2.0}, {"time": 0}],
   "upgrades": [{"time": 1, "type": "projspeed", "levels": 1}, {"time": 0.5, "type": 7}]},
  {"name": 4, "enemy_bonuses": {"range": "x"}, "enemy_spawn_count": 0}
]})")),
              Lines({"2:4: unknown key \"nmae\": the game never reads it; did you mean \"name\"?",
                     "2:30: faction \"blue\" is none of Red, Yellow, Blue, Purple, White (the game would play Red); "
                     "did you mean \"Blue\"?",
                     "2:61: enemy_initial_money must not be negative, found -1",
                     "3:36: count must be above 0, found 0", "3:47: lane must be 0, 1 or 2 (or -1 for a random lane), found 3",
                     "3:60: time 5 comes before the time 10 of an earlier wave; waves play in file order",
                     "3:84: count must be a whole number, found 2.0",
                     "4:37: type must be 0..5 or one of fire, range, dodge, move, income, projSpeed, found \"projspeed\"; "
                     "did you mean \"projSpeed\"?",
                     "4:73: time 0.5 comes before the time 1 of an earlier upgrade; upgrades play in file order",
                     "4:86: type must be 0..5 or one of fire, range, dodge, move, income, projSpeed, found 7",
                     "5:12: name must be a text in quotes, found 4",
                     "5:42: range must be a number, found \"x\"",
                     "5:69: enemy_spawn_count must be above 0, found 0"}));
    EXPECT_EQ(lines(checkLevelsText(R"({"level": []})")),
              Lines({"1:1: the file has no \"levels\" array; the game would offer no level",
                     "1:2: unknown key \"level\": the game never reads it; did you mean \"levels\"?"}));
}

TEST(DataCheck, FilesArePrintedAsFileLineColumnWithASummaryAndStatus) {
    TempDir dir({{"config.json", R"({"gameplay": {"player_start_money": -5}})"}});
    std::ostringstream out;
    EXPECT_EQ(checkDataFiles(dir.path(), out), 1);
    std::string config = dir.path() + "/config.json", levels = dir.path() + "/levels.json";
    EXPECT_EQ(out.str(), config + ":1:37: player_start_money must not be negative, found -5\n" + levels +
                             ": cannot be opened; the game would run on its built-in defaults\n2 problems found in " +
                             config + " and " + levels + ".\n");

    std::ostringstream shipped;
    EXPECT_EQ(checkDataFiles(TARVEX_SOURCE_DIR "/data/", shipped), 0) << shipped.str();
    EXPECT_EQ(shipped.str(), "No problems found in " TARVEX_SOURCE_DIR "/data/config.json and " TARVEX_SOURCE_DIR
                             "/data/levels.json.\n");
}

// Hostile text is reported where it stands, never an abort; the other file is clean.
TEST(DataCheck, HostileTextIsOneProblemAtItsPlace) {
    auto overflow = [](const std::string& number) {
        return "number " + number + " is out of range; no number can be larger than about 1.8e308 or below -1.8e308";
    };
    using Case = std::tuple<const char*, std::string, std::string>;  // file (null: either), text, "line:column: problem"
    const Case cases[] = {
        {nullptr, R"({"start_money": 1e+9999})", "1:17: " + overflow("1e+9999")},
        {nullptr, "[1e+9999]", "1:2: " + overflow("1e+9999")},
        {nullptr, R"({"levels":[{"difficulty":-1e400}]})", "1:26: " + overflow("-1e400")},
        {nullptr, "\n [" + std::string(400, '9') + "]", "2:3: " + overflow(std::string(37, '9') + "...")},
        {nullptr, R"({"a": [{"[": "\"{"}, )" + std::string(99, '[') + std::string(99, ']') + "]}",
         "1:120: arrays and objects nested more than 100 deep; no value the game reads lies that deep"},
        {"config.json", R"({"visual": {"trail": {"max_particles": 2147483648}}})",
         "1:40: max_particles must be within -2147483648..2147483647 (the game would use its default), found "
         "2147483648"},
        {"config.json", R"({"gameplay": {"player_start_money": 1e39}})",
         "1:37: player_start_money must be within -3.40282e+38..3.40282e+38 (the game would use its default), "
         "found 1e+39"},
        {"config.json", R"({"ui": {"colors": {"text": [18446744073709551615, 0, 0]}}})",
         "1:29: text entry must be within 0..255, found 18446744073709551615"},
        {"levels.json", R"({"levels": [{"waves": [{"lane": 18446744073709551615}]}]})",
         "1:33: lane must be 0, 1 or 2 (or -1 for a random lane), found 18446744073709551615"},
        // Every line printed stays one line of valid UTF-8.
        {nullptr, "{\"levels\": [{\"name\": \"\xff\"}]}",
         "1:23: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; last read: '\"\\xFF'"},
        {"config.json", R"({"ui\n": {}})",
         "1:2: unknown key \"/ui\\n\": the game never reads it; did you mean \"/ui\"?"},
        {"levels.json", R"({"levels": [{"faction": "Red\u001b[2J"}]})",
         "1:25: faction \"Red\\u001b[2J\" is none of Red, Yellow, Blue, Purple, White (the game would play Red); "
         "did you mean \"Red\"?"},
    };
    TempDir dir;
    const std::string summary =
        "1 problem found in " + dir.path() + "/config.json and " + dir.path() + "/levels.json.\n";
    for (const auto& [only_file, text, problem] : cases)
        for (const char* file : {"config.json", "levels.json"}) {
            if (only_file && std::string(only_file) != file) continue;
            dir.write("config.json", "{}");
            dir.write("levels.json", R"({"levels": []})");
            dir.write(file, text);
            std::ostringstream out;
            EXPECT_EQ(checkDataFiles(dir.path(), out), 1) << file << ": " << text;
            EXPECT_EQ(out.str(), dir.path() + "/" + file + ":" + problem + "\n" + summary);
        }
}

// The checker trusts the key table to hold every key the game reads; the getters note
// any read outside it, so a whole round of spawns and prices proves the table complete.
TEST_F(GameTest, EveryConfigKeyTheGameReadsIsInTheKeyTable) {
    for (int faction = 0; faction < kFactionCount; ++faction) {
        game.player_faction = game.enemy_faction = faction;
        game.player_money = game.enemy_money = 1e6f;
        spawnPlayerTurret(game, faction % 3);
        spawnEnemyTurret(game, faction % 3);
    }
    for (int stat = 0; stat < 6; ++stat) (void)upgradePrice(UpgradeStat(stat), game.player_upgrades);
    EXPECT_EQ(Config::instance().unlisted_reads, std::vector<std::string>());
    (void)Config::instance().getFloat("/turret/player/hpp", 1);
    EXPECT_EQ(Config::instance().unlisted_reads, std::vector<std::string>({"/turret/player/hpp"}));
}
