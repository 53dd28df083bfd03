#include "content/levels.h"
#include "support.h"

using nlohmann::json;

namespace {
struct Levels : GameTest {
    // Loads a levels.json of the given content and returns what it printed.
    std::string load(const std::string& content) {
        fixture.dir.write("levels.json", content);
        game.all_levels.clear();
        return stdoutOf([&] { loadLevels(game, "levels.json"); });
    }
    std::string start(const json& level) { return stdoutOf([&] { startLevel(game, level); }); }
};
}  // namespace

TEST_F(Levels, FileShapes) {
    // No levels.json: the default level, silently.
    ASSERT_EQ(game.all_levels.size(), 1u);
    EXPECT_EQ(game.all_levels[0]["name"], "默认关卡");
    EXPECT_EQ(game.all_levels[0]["waves"], json::array());

    EXPECT_EQ(load("\xEF\xBB\xBF{\"levels\": [{\"name\": \"甲\"}]}"), "");
    ASSERT_EQ(game.all_levels.size(), 1u);
    EXPECT_EQ(game.all_levels[0]["upgrades"], json::array());
    for (const char* nothing : {"[{\"name\": \"甲\"}]", "{\"stages\": []}"}) {
        EXPECT_EQ(load(nothing), "");
        EXPECT_TRUE(game.all_levels.empty()) << nothing;
    }
    std::string out = load("{\"levels\": []} // all");
    EXPECT_EQ(out.rfind("Error parsing JSON: [json.exception.parse_error.101]", 0), 0u) << out;
    out = load("{\"levels\": {\"name\": \"甲\"}}");
    EXPECT_EQ(out.rfind("Error parsing JSON: [json.exception.type_error.302]", 0), 0u) << out;
    // Deep enough to overflow the stack of whoever copies it.
    out = load("{\"levels\": [{\"waves\": " + std::string(200000, '[') + std::string(200000, ']') + "}]}");
    EXPECT_EQ(out, "Error parsing JSON: levels.json is nested more than 100 deep\n");
    EXPECT_TRUE(game.all_levels.empty());
}

TEST_F(Levels, OlderFormAndAnErrorThatStopsLoading) {
    std::string out = load(R"({"levels": [
        {"enemy_spawn_count": 3, "enemy_spawn_rate": 2.5},
        {"enemy_spawn_count": 3},
        {"waves": [{"lane": 2}], "enemy_spawn_count": 3, "enemy_spawn_rate": 1},
        {"name": 5},
        {"enemy_spawn_count": 1, "enemy_spawn_rate": 1}]})");
    EXPECT_EQ(out, "Error parsing JSON: [json.exception.type_error.302] type must be string, but is number\n");
    ASSERT_EQ(game.all_levels.size(), 5u);
    const json& waves = game.all_levels[0]["waves"];
    ASSERT_EQ(waves.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(waves[i]["time"].get<float>(), 2.5f * float(i + 1));
        EXPECT_EQ(waves[i], json({{"time", waves[i]["time"]}, {"lane", -1}, {"count", 1}, {"interval", 0.5},
                                  {"unit_type", "normal"}}));
    }
    EXPECT_EQ(game.all_levels[1]["waves"], json::array());  // a count without a rate
    EXPECT_EQ(game.all_levels[2]["waves"], json::parse(R"([{"lane": 2}])"));
    EXPECT_FALSE(game.all_levels[4].contains("waves"));  // never reached
}

TEST_F(Levels, StartLevelAppliesTheLevelInOrderAndWrongTypesCountAsMissing) {
    game.enemy_turrets.emplace_back(false, 0);
    game.enemy_upgrades.levels[Income] = 4;
    json level = json::parse(R"({"name": "边境", "description": "说明", "faction": "blue",
        "enemy_initial_money": 321.5, "enemy_income": 7, "enemy_upgrade_level": 2,
        "enemy_bonuses": {"range": 20, "dodge": 0.1}, "waves": [{"lane": 0}, {"lane": 2}], "upgrades": {}})");
    EXPECT_EQ(start(level),
              "✅ Loaded 2 waves\n"
              "❌ upgrades not found or not array!\n"
              "Level enemy faction: blue\n"
              "=== 开始关卡: 边境 ===\n"
              "⚠️  enemy_presets 已完全忽略，敌方炮塔使用本地配置\n");
    EXPECT_TRUE(game.enemy_turrets.empty());
    EXPECT_EQ(game.enemy_faction, Red);  // the faction's case must match exactly
    EXPECT_EQ(sf::Vector2f(game.enemy_money, game.enemy_income), sf::Vector2f(321.5f, 7));
    const UpgradeState& enemy = game.enemy_upgrades;
    EXPECT_EQ(std::vector<int>(enemy.levels, enemy.levels + 6), std::vector<int>({2, 2, 2, 0, 0, 0}));
    EXPECT_EQ(enemy.range_bonus, 20);
    EXPECT_FLOAT_EQ(enemy.dodge_bonus, 0.1f);
    EXPECT_TRUE(game.level_running && !game.level_select_active);
    EXPECT_EQ(game.level_name + "|" + game.level_title + game.level_description + game.level_status,
              "边境|边境说明In Progress...");

    level = json::parse(R"({"name": 5, "faction": ["White"], "description": false,
        "enemy_initial_money": "lots", "enemy_income": null, "enemy_upgrade_level": "3", "enemy_bonuses": 4})");
    std::string out;
    ASSERT_NO_THROW(out = start(level));
    EXPECT_NE(out.find("Level enemy faction: Red\n=== 开始关卡: 未知 ===\n"), std::string::npos);
    EXPECT_EQ(game.level_name + "|" + game.level_title, "未知关卡|关卡");
    EXPECT_EQ(sf::Vector2f(game.enemy_money, game.enemy_income), sf::Vector2f(200, 5));
    EXPECT_EQ(game.enemy_upgrades.levels[FireRate], 0);
    ASSERT_NO_THROW(start(json(42)));  // a level that is not an object at all
}

TEST_F(Levels, EntriesAreNormalisedByTheStringToNumberRules) {
    start(json::parse(R"({"waves": [
        {"count": 2.0, "lane": 1.0},
        {"time": "12", "count": "3x", "interval": " 0.25s", "lane": " 2"},
        {"time": "soon", "count": "99999999999", "interval": "fast", "lane": "left"}, null, 17],
      "upgrades": [{"type": "projSpeed", "levels": "2"}, {"type": "5"}, {"type": "laser"}, {"type": 2.9},
        {"type": -1.5, "levels": 1.5}, {"type": true, "time": "30"}, null]})"));
    json defaults = json::parse(R"({"time": 0.0, "count": 1, "interval": 0.5, "lane": -1, "unit_type": "normal"})");
    json parsed = json::parse(R"({"time": 12.0, "count": 3, "interval": 0.25, "lane": 2, "unit_type": "normal"})");
    // An entry that is neither object nor null is dropped.
    EXPECT_EQ(game.wave_list, std::vector<json>({defaults, parsed, defaults, defaults}));

    EXPECT_EQ(json(game.upgrade_schedule), json::parse(R"([{"time": 0, "type": 5, "levels": 2},
        {"time": 0, "type": 5, "levels": 1}, {"time": 0, "type": 0, "levels": 1}, {"time": 0, "type": 2, "levels": 1},
        {"time": 0, "type": -1, "levels": 1}, {"time": 30, "type": 0, "levels": 1}, {"time": 0, "type": 0, "levels": 1}])"));
}

TEST_F(Levels, ShippedLevelsLoadCleanly) {
    EXPECT_EQ(load(shippedData("levels.json")), "");
    const std::vector<json>& levels = game.all_levels;
    ASSERT_TRUE(levels.size() >= 8 && levels.size() <= 10);  // every level gets a card
    std::set<std::string> factions;
    for (const json& level : levels) {
        EXPECT_TRUE(level["difficulty"] >= 1 && level["difficulty"] <= 5 && !level["waves"].empty());
        factions.insert(level["faction"].get<std::string>());
    }
    EXPECT_EQ(factions, std::set<std::string>({"Red", "Yellow", "Blue", "Purple", "White"}));
}

// A hostile or mistyped file loads at once: every count, length and upgrade level it asks
// for is held at a playable limit, with one warning line for each value that was cut.
TEST_F(Levels, OversizedCountsLengthsAndLevelsAreCapped) {
    std::string name;
    for (int i = 0; i < 200; ++i) name += "关";  // 600 bytes of three-byte characters
    json waves = json::array();
    for (int i = 0; i < 1500; ++i) waves.push_back({{"time", i}, {"count", 1}});
    waves[0]["count"] = 1000000000000LL;
    json levels = json::array();
    levels.push_back({{"name", name}, {"enemy_spawn_count", 2000000000}, {"enemy_spawn_rate", 1},
                      {"enemy_upgrade_level", 2147483647}});
    levels.push_back({{"waves", waves}, {"upgrades", {{{"time", 0}, {"type", 0}, {"levels", 1000000000}}}},
                      {"enemy_upgrade_level", -5}});
    for (int i = 0; i < 150; ++i) levels.push_back({{"name", "x"}});
    std::string log = load(json({{"levels", levels}}).dump());

    ASSERT_EQ(game.all_levels.size(), 100u);
    EXPECT_EQ(game.all_levels[0]["waves"].size(), 1000u);
    EXPECT_EQ(game.all_levels[1]["waves"].size(), 1000u);
    EXPECT_EQ(game.all_levels[0]["name"], name.substr(0, 255));  // 85 whole characters
    for (const char* line : {"level count 152 is too large, using 100", "name length 600 is too large, using 255",
                             "enemy_spawn_count 2000000000 is too large, using 1000",
                             "waves count 1500 is too large, using 1000"})
        EXPECT_EQ(countOf(log, line), 1u) << line << "\n" << log;

    start(game.all_levels[0]);
    for (int stat : {FireRate, Range, Dodge}) EXPECT_EQ(game.enemy_upgrades.levels[stat], kMaxUpgradeLevel);
    std::string started = start(game.all_levels[1]);
    EXPECT_EQ(game.enemy_upgrades.levels[FireRate], 0);
    EXPECT_EQ(game.wave_list[0]["count"], 1000);
    EXPECT_EQ(game.upgrade_schedule[0]["levels"], kMaxUpgradeLevel);
    EXPECT_EQ(countOf(started, "is too large"), 2u) << started;
}
