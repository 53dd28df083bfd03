#include "content/config.h"
#include "support.h"

#include <iterator>

// No file gives every default silently; a file that does not parse, or nests deep enough
// to overflow the stack of whoever copies it, gives them all with one error line.
TEST(Config, MissingOrUnparseableFilesGiveEveryDefault) {
    const std::string deep = "{\"ui\": " + std::string(200000, '[') + std::string(200000, ']') + "}";
    for (const char* content : {static_cast<const char*>(nullptr), "{\"turret\": {\"player\": {\"hp\": 5,}}", "",
                                deep.c_str()}) {
        TempDir dir;
        if (content) dir.write("config.json", content);
        testing::internal::CaptureStderr();
        Turret unit(true, 0);
        std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::vector<float>({unit.hp, unit.range, unit.fire_rate, unit.move_speed}),
                  std::vector<float>({1, 90, 0.6f, 55}));
        // The default body colour array is [0, 0, 0]: bodies are black, barrels white.
        EXPECT_EQ(unit.body.getFillColor(), sf::Color::Black);
        EXPECT_EQ(unit.barrel.getFillColor(), sf::Color::White);
        EXPECT_EQ(countOf(errors, "\n"), content ? 1u : 0u) << errors;
        EXPECT_EQ(errors.rfind("Error parsing config.json: ", 0), content ? 0u : std::string::npos) << errors;
    }
}

TEST(Config, ColoursKeepTheLowEightBitsAndFallBackPerKeyWhenShort) {
    TempDir dir({{"config.json", R"({"turret": {
        "player": {"body_color": [10, 20], "body_outline_color": [1], "barrel": {"color": [], "outline_color": [7, 8]}},
        "enemy": {"body_color": [10, 20], "body_outline_color": [256, -1, 300, 77]}},
        "ui": {"colors": {"four": [1, 2, 3, 4], "three": [1, 2, 3], "empty": [], "wide": [511, 0, 0, 256]}}})"}});
    const std::pair<sf::Color, sf::Color> cases[] = {
        {turretColor(true, "body_color"), sf::Color(80, 180, 255)},
        {turretColor(true, "body_outline_color"), sf::Color(50, 50, 50)},
        {turretColor(true, "barrel/color"), sf::Color::White},
        {turretColor(true, "barrel/outline_color"), sf::Color(100, 100, 100)},
        {turretColor(false, "body_color"), sf::Color(255, 90, 70)},
        {turretColor(false, "body_outline_color"), sf::Color(0, 255, 44, 255)},  // a fourth entry is ignored
        {uiColor("four"), sf::Color(1, 2, 3, 4)},
        {uiColor("three"), sf::Color(1, 2, 3, 255)},
        {uiColor("empty"), sf::Color::White},
        {uiColor("wide"), sf::Color(255, 0, 0, 0)},
        {uiColor("missing"), sf::Color::White},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << i;
}

// A value of the wrong type, or a number the game's int or float cannot hold, gives the
// default with one warning naming its full path; every other value converts silently.
TEST(Config, WrongTypesAndNumbersOutOfRangeGiveTheDefaultWithAWarningAndOthersConvertSilently) {
    TempDir dir({{"config.json", R"({"turret": {"player": {"body_color": "red", "hp": "lots", "red": {"range": "far"},
        "yellow": {"damage": 3.5}}, "enemy": {"hp": 2.9, "armor": -2.9, "range": true}},
        "visual": {"trail": {"enabled": 0}}, "ui": {"colors": {"text": [1, "x", 3]}}, "path": {"through": 5},
        "upgrades": {"range": {"base_cost": 80}}, "a": 1e300, "b": 3000000000, "c": -3e9, "d": [1, 1e20],
        "e": 2147483647, "f": 1e38, "g": 12.9, "h": false})"}});
    const Config& config = Config::instance();
    testing::internal::CaptureStderr();
    EXPECT_EQ(turretColor(true, "body_color"), sf::Color::Black);
    EXPECT_EQ(turretInt(true, "hp", 1), 1);
    EXPECT_EQ(factionStat(true, "red", "range", 90), 90);
    EXPECT_TRUE(config.getBool("/visual/trail/enabled", true));
    EXPECT_EQ(uiColor("text"), sf::Color::White);
    EXPECT_EQ(config.getFloat("/a", 5), 5);
    EXPECT_EQ(config.getInt("/b", 6), 6);
    EXPECT_EQ(config.getInt("/c", 7), 7);
    EXPECT_EQ(config.getIntArray("/d", {8}), std::vector<int>{8});

    EXPECT_EQ(turretInt(false, "hp", 1), 2);  // truncated toward zero
    EXPECT_EQ(turretInt(false, "armor", 0), -2);
    EXPECT_EQ(turretFloat(false, "range", 90), 1.0f);  // a boolean reads as 0 or 1
    EXPECT_EQ(factionStat(true, "yellow", "damage", 1), 3.5f);
    EXPECT_FALSE(config.getBool("/h", true));
    EXPECT_EQ(upgradeParam("range", "base_cost", 100), 80);
    EXPECT_EQ(upgradeParam("range", "cost_multiplier", 1.4f), 1.4f);
    EXPECT_EQ(config.getInt("/path/through/deeper", 7), 7);  // through a non-object: silent
    EXPECT_EQ(config.getInt("/e", 0), 2147483647);            // the largest numbers that fit
    EXPECT_EQ(config.getFloat("/f", 0), 1e38f);
    EXPECT_EQ(config.getInt("/g", 0), 12);
    std::string errors = testing::internal::GetCapturedStderr();
    const std::pair<const char*, size_t> warnings[] = {{"/turret/player/body_color", 1}, {"/turret/player/hp", 1},
        {"/turret/player/red/range", 2},  // per-faction stats read twice
        {"/visual/trail/enabled", 1}, {"/ui/colors/text", 1}, {"/a", 1}, {"/b", 1}, {"/c", 1}, {"/d", 1}};
    for (auto [path, times] : warnings)
        EXPECT_EQ(countOf(errors, std::string("Warning: Could not get config value for: ") + path + "\n"), times) << path;
    EXPECT_EQ(countOf(errors, "\n"), 10u) << errors;  // and not a word on the values that convert
}
