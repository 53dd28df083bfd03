#include "battle/turret.h"
#include "content/config.h"
#include "support.h"

#include <gtest/gtest.h>

namespace {
int countOccurrences(const std::string& text, const std::string& needle) {
    int count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
    return count;
}

bool sameColour(sf::Color a, sf::Color b) { return a == b; }
}  // namespace

TEST(Config, MissingFileGivesEveryDefaultSilently) {
    TempDir dir;
    testing::internal::CaptureStderr();
    Turret player(true, 0);
    Turret enemy(false, 2);
    EXPECT_EQ(Config::instance().getFloat("/gameplay/player_start_money", 1000), 1000);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    EXPECT_EQ(player.hp, 1);
    EXPECT_EQ(player.range, 90);
    EXPECT_EQ(player.damage, 1);
    EXPECT_FLOAT_EQ(player.fire_rate, 0.6f);
    EXPECT_EQ(player.dodge, 0);
    EXPECT_EQ(player.move_speed, 55);
    EXPECT_EQ(enemy.lane, 2);
    EXPECT_EQ(enemy.is_player, 0);
    // The default body colour array is [0, 0, 0]: bodies are black, barrels white.
    EXPECT_TRUE(sameColour(player.body.getFillColor(), sf::Color::Black));
    EXPECT_TRUE(sameColour(player.barrel.getFillColor(), sf::Color::White));
    EXPECT_EQ(player.body.getRadius(), 12);
    EXPECT_EQ(player.body.getPointCount(), 30u);
    EXPECT_EQ(player.barrel.getOrigin(), sf::Vector2f(2, 20));
}

TEST(Config, ShortColourArraysFallBackPerKey) {
    TempDir dir;
    dir.write("config.json", R"({"turret": {
        "player": {"body_color": [10, 20], "body_outline_color": [1], "barrel": {"color": [], "outline_color": [7, 8]}},
        "enemy": {"body_color": [10, 20]}}})");
    EXPECT_TRUE(sameColour(turretColor(true, "body_color"), sf::Color(80, 180, 255)));
    EXPECT_TRUE(sameColour(turretColor(false, "body_color"), sf::Color(255, 90, 70)));
    EXPECT_TRUE(sameColour(turretColor(true, "body_outline_color"), sf::Color(50, 50, 50)));
    EXPECT_TRUE(sameColour(turretColor(true, "barrel/color"), sf::Color::White));
    EXPECT_TRUE(sameColour(turretColor(true, "barrel/outline_color"), sf::Color(100, 100, 100)));
}

TEST(Config, ColoursKeepOnlyTheLowEightBits) {
    TempDir dir;
    dir.write("config.json", R"({"turret": {"player": {"body_color": [256, -1, 300, 77]}},
        "ui": {"colors": {"four": [1, 2, 3, 4], "three": [1, 2, 3], "empty": [], "wide": [511, 0, 0, 256]}}})");
    EXPECT_TRUE(sameColour(turretColor(true, "body_color"), sf::Color(0, 255, 44, 255)));  // fourth entry ignored
    EXPECT_TRUE(sameColour(uiColor("four"), sf::Color(1, 2, 3, 4)));
    EXPECT_TRUE(sameColour(uiColor("three"), sf::Color(1, 2, 3, 255)));
    EXPECT_TRUE(sameColour(uiColor("empty"), sf::Color(255, 255, 255, 255)));
    EXPECT_TRUE(sameColour(uiColor("wide"), sf::Color(255, 0, 0, 0)));
    EXPECT_TRUE(sameColour(uiColor("missing"), sf::Color(255, 255, 255, 255)));
}

TEST(Config, WrongTypesWarnWithTheFullPath) {
    TempDir dir;
    dir.write("config.json", R"({"turret": {"player": {"body_color": "red", "hp": "lots",
        "red": {"range": "far"}}}, "visual": {"trail": {"enabled": 0}}, "ui": {"colors": {"text": [1, "x", 3]}}})");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(sameColour(turretColor(true, "body_color"), sf::Color::Black));
    EXPECT_EQ(turretInt(true, "hp", 1), 1);
    EXPECT_EQ(factionStat(true, "red", "range", 90), 90);
    EXPECT_TRUE(Config::instance().getBool("/visual/trail/enabled", true));
    EXPECT_TRUE(sameColour(uiColor("text"), sf::Color::White));
    std::string errors = testing::internal::GetCapturedStderr();
    const std::string prefix = "Warning: Could not get config value for: ";
    EXPECT_EQ(countOccurrences(errors, prefix + "/turret/player/body_color\n"), 1);
    EXPECT_EQ(countOccurrences(errors, prefix + "/turret/player/hp\n"), 1);
    // The per-faction stats are read twice, so a bad one warns twice.
    EXPECT_EQ(countOccurrences(errors, prefix + "/turret/player/red/range\n"), 2);
    EXPECT_EQ(countOccurrences(errors, prefix + "/visual/trail/enabled\n"), 1);
    EXPECT_EQ(countOccurrences(errors, prefix + "/ui/colors/text\n"), 1);
}

TEST(Config, NumbersConvertLikeTheGettersPromise) {
    TempDir dir;
    dir.write("config.json", R"({"turret": {"enemy": {"hp": 2.9, "armor": -2.9, "range": true},
        "player": {"yellow": {"damage": 3.5}}}, "visual": {"trail": {"enabled": false}},
        "upgrades": {"range": {"base_cost": 80}}, "path": {"through": 5}})");
    testing::internal::CaptureStderr();
    EXPECT_EQ(turretInt(false, "hp", 1), 2);  // truncated toward zero
    EXPECT_EQ(turretInt(false, "armor", 0), -2);
    EXPECT_EQ(turretFloat(false, "range", 90), 1.0f);  // a boolean reads as 0 or 1
    EXPECT_EQ(factionStat(true, "yellow", "damage", 1), 3.5f);
    EXPECT_FALSE(Config::instance().getBool("/visual/trail/enabled", true));
    EXPECT_EQ(upgradeParam("range", "base_cost", 100), 80);
    EXPECT_EQ(upgradeParam("range", "cost_multiplier", 1.4f), 1.4f);
    EXPECT_EQ(Config::instance().getInt("/path/through/deeper", 7), 7);  // through a non-object: silent
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Config, UnparseableFileIsReportedOnceThenDefaultsApply) {
    TempDir dir;
    dir.write("config.json", "{\"turret\": {\"player\": {\"hp\": 5,}}");
    testing::internal::CaptureStderr();
    EXPECT_EQ(turretInt(true, "hp", 1), 1);
    EXPECT_EQ(turretFloat(true, "range", 90), 90);
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countOccurrences(errors, "Error parsing config.json: "), 1);
    EXPECT_EQ(countOccurrences(errors, "\n"), 1);

    TempDir empty_dir;
    empty_dir.write("config.json", "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Config::instance().getFloat("/gameplay/enemy_start_money", 1000), 1000);
    EXPECT_EQ(countOccurrences(testing::internal::GetCapturedStderr(), "Error parsing config.json: "), 1);
}
