#include "app/game.h"
#include "content/factions.h"
#include "content/levels.h"
#include "support.h"

#include <gtest/gtest.h>
#include <fstream>
#include <iterator>

using nlohmann::json;

namespace {
// Loads a levels.json of the given content into a Game and returns what it printed.
std::string loadOutput(GameFixture& fixture, const std::string& content) {
    fixture.dir.write("levels.json", content);
    fixture.game->all_levels.clear();
    testing::internal::CaptureStdout();
    loadLevels(*fixture.game, "levels.json");
    return testing::internal::GetCapturedStdout();
}

std::string startOutput(Game& game, const json& level) {
    testing::internal::CaptureStdout();
    startLevel(game, level);
    return testing::internal::GetCapturedStdout();
}

std::string shown(const sf::Text& text) { return text.getString().toAnsiString(); }
std::string shownUtf8(const sf::Text& text) {
    auto utf8 = text.getString().toUtf8();
    return std::string(utf8.begin(), utf8.end());
}
}  // namespace

TEST(Levels, MissingFileGivesTheDefaultLevelSilently) {
    GameFixture fixture;
    ASSERT_EQ(fixture.game->all_levels.size(), 1u);
    EXPECT_EQ(fixture.game->all_levels[0], defaultLevel());
    EXPECT_EQ(defaultLevel()["name"], "默认关卡");
    EXPECT_EQ(defaultLevel()["player_bonus"], 100);
    EXPECT_EQ(defaultLevel()["waves"], json::array());
    EXPECT_EQ(defaultLevel()["enemy_bonuses"], json::object());
}

TEST(Levels, FileShapes) {
    GameFixture fixture;
    Game& game = *fixture.game;
    EXPECT_EQ(loadOutput(fixture, "\xEF\xBB\xBF{\"levels\": [{\"name\": \"甲\"}]}"), "");
    ASSERT_EQ(game.all_levels.size(), 1u);
    EXPECT_EQ(game.all_levels[0]["waves"], json::array());
    EXPECT_EQ(game.all_levels[0]["upgrades"], json::array());

    EXPECT_EQ(loadOutput(fixture, "[{\"name\": \"甲\"}]"), "");
    EXPECT_TRUE(game.all_levels.empty());
    EXPECT_EQ(loadOutput(fixture, "{\"stages\": []}"), "");
    EXPECT_TRUE(game.all_levels.empty());

    std::string out = loadOutput(fixture, "{\"levels\": []} // all");
    EXPECT_EQ(out.rfind("Error parsing JSON: [json.exception.parse_error.101]", 0), 0u) << out;
    EXPECT_TRUE(game.all_levels.empty());
    out = loadOutput(fixture, "{\"levels\": {\"name\": \"甲\"}}");
    EXPECT_EQ(out.rfind("Error parsing JSON: [json.exception.type_error.302]", 0), 0u) << out;
}

TEST(Levels, AnErrorStopsLoadingAndKeepsWhatWasDone) {
    GameFixture fixture;
    Game& game = *fixture.game;
    std::string out = loadOutput(fixture, R"({"levels": [
        {"name": "一", "enemy_spawn_count": 3, "enemy_spawn_rate": 2.5},
        {"name": 5, "faction": "Blue"},
        {"name": "三", "enemy_spawn_count": 1, "enemy_spawn_rate": 1}]})");
    EXPECT_EQ(out, "Error parsing JSON: [json.exception.type_error.302] type must be string, but is number\n");
    ASSERT_EQ(game.all_levels.size(), 3u);
    const json& waves = game.all_levels[0]["waves"];
    ASSERT_EQ(waves.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(waves[i]["time"].get<float>(), 2.5f * float(i + 1));
        EXPECT_EQ(waves[i]["lane"], -1);
        EXPECT_EQ(waves[i]["count"], 1);
        EXPECT_EQ(waves[i]["interval"], 0.5);
        EXPECT_EQ(waves[i]["unit_type"], "normal");
    }
    EXPECT_FALSE(game.all_levels[1].contains("waves"));
    EXPECT_FALSE(game.all_levels[2].contains("waves"));  // never reached
}

TEST(Levels, OlderFormNeedsBothKeysAndNeverReplacesWaves) {
    GameFixture fixture;
    Game& game = *fixture.game;
    loadOutput(fixture, R"({"levels": [
        {"enemy_spawn_count": 3},
        {"waves": [{"lane": 2}], "enemy_spawn_count": 3, "enemy_spawn_rate": 1, "upgrades": 7},
        {"waves": "many", "enemy_spawn_count": 2, "enemy_spawn_rate": 1}]})");
    ASSERT_EQ(game.all_levels.size(), 3u);
    EXPECT_EQ(game.all_levels[0]["waves"], json::array());
    EXPECT_EQ(game.all_levels[1]["waves"], json::parse(R"([{"lane": 2}])"));
    EXPECT_EQ(game.all_levels[1]["upgrades"], json::array());
    EXPECT_EQ(game.all_levels[2]["waves"].size(), 2u);
}

TEST(Levels, StartLevelAppliesTheLevelInOrder) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.player_turrets.emplace_back(true, 0);
    game.enemy_turrets.emplace_back(false, 0);
    game.enemy_upgrades.levels[Income] = 4;
    json level = json::parse(R"({"name": "边境", "description": "说明", "faction": "blue",
        "enemy_initial_money": 321.5, "enemy_income": 7, "enemy_upgrade_level": 2,
        "enemy_bonuses": {"range": 20, "dodge": 0.1},
        "waves": [{"lane": 0}, {"lane": 2}], "upgrades": {"type": 1}})");
    std::string out = startOutput(game, level);
    EXPECT_EQ(out,
              "✅ Loaded 2 waves\n"
              "❌ upgrades not found or not array!\n"
              "Level enemy faction: blue\n"
              "=== 开始关卡: 边境 ===\n"
              "⚠️  enemy_presets 已完全忽略，敌方炮塔使用本地配置\n");
    EXPECT_TRUE(game.player_turrets.empty());
    EXPECT_TRUE(game.enemy_turrets.empty());
    EXPECT_EQ(game.level_name, "边境");
    EXPECT_EQ(game.enemy_faction, Red);  // the faction's case must match exactly
    EXPECT_EQ(game.enemy_money, 321.5f);
    EXPECT_EQ(game.enemy_income, 7);
    const UpgradeState& enemy = game.enemy_upgrades;
    EXPECT_EQ(enemy.levels[FireRate], 2);
    EXPECT_EQ(enemy.levels[Range], 2);
    EXPECT_EQ(enemy.levels[Dodge], 2);
    EXPECT_EQ(enemy.levels[Income], 0);
    EXPECT_EQ(enemy.range_bonus, 20);
    EXPECT_FLOAT_EQ(enemy.dodge_bonus, 0.1f);
    EXPECT_EQ(enemy.fire_rate_bonus, 0);
    EXPECT_TRUE(game.level_running);
    EXPECT_FALSE(game.level_select_active);
    EXPECT_TRUE(game.upgrade_schedule.empty());

    EXPECT_EQ(shownUtf8(game.level_title_text), "边境");
    EXPECT_EQ(game.level_title_text.getCharacterSize(), 22u);
    EXPECT_EQ(game.level_title_text.getFillColor(), sf::Color::White);
    EXPECT_EQ(shownUtf8(game.level_description_text), "说明");
    EXPECT_EQ(game.level_description_text.getCharacterSize(), 14u);
    EXPECT_EQ(game.level_description_text.getFillColor(), sf::Color(200, 200, 200));
    EXPECT_EQ(shown(game.level_status_text), "In Progress...");
    EXPECT_EQ(game.level_status_text.getCharacterSize(), 18u);
    EXPECT_EQ(game.level_status_text.getFillColor(), sf::Color(255, 255, 0));
}

TEST(Levels, WavesAreNormalisedByTheStringToNumberRules) {
    GameFixture fixture;
    Game& game = *fixture.game;
    json level = json::parse(R"({"waves": [
        {"count": 2.0, "lane": 1.0},
        {"time": "12", "count": "3x", "interval": " 0.25s", "lane": " 2"},
        {"time": "soon", "count": "99999999999", "interval": "fast", "lane": "left"},
        null, 17, [1, 2]]})");
    startOutput(game, level);
    ASSERT_EQ(game.wave_list.size(), 4u);  // entries that are not objects are dropped
    EXPECT_EQ(game.wave_list[0], json::parse(
        R"({"time": 0.0, "count": 1, "interval": 0.5, "lane": -1, "unit_type": "normal"})"));
    EXPECT_EQ(game.wave_list[1]["time"], 12.0);
    EXPECT_EQ(game.wave_list[1]["count"], 3);
    EXPECT_EQ(game.wave_list[1]["interval"], 0.25);
    EXPECT_EQ(game.wave_list[1]["lane"], 2);
    EXPECT_EQ(game.wave_list[2], game.wave_list[0]);
    EXPECT_EQ(game.wave_list[3], game.wave_list[0]);
}

TEST(Levels, ScheduleTypesByNumberTextAndName) {
    GameFixture fixture;
    Game& game = *fixture.game;
    json level = json::parse(R"({"upgrades": [
        {"type": "projSpeed", "levels": "2"}, {"type": "5"}, {"type": "laser"}, {"type": 2.9},
        {"type": -1.5, "levels": 1.5}, {"type": true, "time": "30"}, {"type": "range"}, {}]})");
    startOutput(game, level);
    ASSERT_EQ(game.upgrade_schedule.size(), 8u);
    const int types[] = {5, 5, 0, 2, -1, 0, 1, 0};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(game.upgrade_schedule[i]["type"], types[i]) << i;
    EXPECT_EQ(game.upgrade_schedule[0]["levels"], 2);
    EXPECT_EQ(game.upgrade_schedule[4]["levels"], 1);
    EXPECT_EQ(game.upgrade_schedule[5]["time"], 30.0);
    EXPECT_EQ(game.upgrade_schedule[7], json::parse(R"({"time": 0.0, "type": 0, "levels": 1})"));
}

TEST(Levels, WrongTypedValuesCountAsMissing) {
    GameFixture fixture;
    Game& game = *fixture.game;
    json level = json::parse(R"({"name": 5, "faction": ["White"], "description": false,
        "enemy_initial_money": "lots", "enemy_income": null, "enemy_upgrade_level": "3",
        "enemy_bonuses": 4, "waves": [{"lane": 0}], "difficulty": "hard"})");
    std::string out;
    ASSERT_NO_THROW(out = startOutput(game, level));
    EXPECT_NE(out.find("Level enemy faction: Red\n"), std::string::npos);
    EXPECT_NE(out.find("=== 开始关卡: 未知 ===\n"), std::string::npos);
    EXPECT_EQ(game.level_name, "未知关卡");
    EXPECT_EQ(shownUtf8(game.level_title_text), "关卡");
    EXPECT_EQ(shownUtf8(game.level_description_text), "");
    EXPECT_EQ(game.enemy_money, 200);
    EXPECT_EQ(game.enemy_income, 5);
    EXPECT_EQ(game.enemy_upgrades.levels[FireRate], 0);
    EXPECT_EQ(game.enemy_upgrades.range_bonus, 0);
    EXPECT_EQ(game.wave_list.size(), 1u);
    EXPECT_EQ(levelInteger(level, "difficulty", 1), 1);

    ASSERT_NO_THROW(startOutput(game, json(42)));  // a level that is not an object at all
    EXPECT_EQ(game.level_name, "未知关卡");
    EXPECT_TRUE(game.wave_list.empty());
}

TEST(Levels, ShippedLevelsLoadCleanly) {
    TempDir dir;
    std::ifstream shipped(TARVEX_SOURCE_DIR "/data/levels.json", std::ios::binary);
    dir.write("levels.json", std::string(std::istreambuf_iterator<char>(shipped), {}));
    testing::internal::CaptureStdout();
    Game game;
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("Error parsing JSON"), std::string::npos);
    ASSERT_GE(game.all_levels.size(), 8u);
    ASSERT_LE(game.all_levels.size(), 10u);  // every level gets a card
    bool faction_seen[kFactionCount] = {};
    for (const json& level : game.all_levels) {
        long long difficulty = levelInteger(level, "difficulty", 0);
        EXPECT_TRUE(difficulty >= 1 && difficulty <= 5);
        std::string faction = levelText(level, "faction", "");
        int side = factionFromLevelName(faction);
        if (faction == factionLevelName(side)) faction_seen[side] = true;
        EXPECT_FALSE(level["waves"].empty());
        EXPECT_FALSE(level["upgrades"].empty());
    }
    for (bool seen : faction_seen) EXPECT_TRUE(seen);
}
