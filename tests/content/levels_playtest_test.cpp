#include "content/playtest.h"
#include "app/game.h"
#include "content/factions.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>

namespace {
using nlohmann::json;

Playtest shippedLevel(int level_index, int faction, PlayerScript script) {
    Playtest test;
    test.config_json = shippedData("config.json");
    test.levels_json = shippedData("levels.json");
    test.level_index = level_index;
    test.faction = faction;
    test.script = script;
    return test;
}

int lastLevel() { return int(json::parse(shippedData("levels.json"))["levels"].size()) - 1; }

// The levels file the ladder is played on: the shipped one, or PLAYTEST_LEVELS to try another.
std::string ladderLevels() {
    const char* path = std::getenv("PLAYTEST_LEVELS");
    if (!path) return shippedData("levels.json");
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

char mark(Outcome outcome) { return outcome == Outcome::Victory ? 'W' : outcome == Outcome::Defeat ? 'L' : '-'; }
}  // namespace

// A new player's first match has an income of 10, every later match 5.
TEST(LevelPlaytest, NoviceWinsTheFirstLevelWithEveryFaction) {
    for (float income : {10.0f, 5.0f}) {
        for (int faction = 0; faction < kFactionCount; ++faction) {
            Playtest test = shippedLevel(0, faction, PlayerScript::Novice);
            test.player_income = income;
            PlaytestResult result = playLevel(test);
            EXPECT_EQ(result.outcome, Outcome::Victory) << factionLevelName(faction) << " " << income;
            EXPECT_LT(result.seconds, 120) << factionLevelName(faction) << " " << income;
        }
    }
}

TEST(LevelPlaytest, LastLevelBeatsAnIdlePlayerWithinTwoMinutes) {
    for (int faction = 0; faction < kFactionCount; ++faction) {
        PlaytestResult result = playLevel(shippedLevel(lastLevel(), faction, PlayerScript::Idle));
        EXPECT_EQ(result.outcome, Outcome::Defeat) << factionLevelName(faction);
        EXPECT_LT(result.seconds, 120) << factionLevelName(faction);
    }
}

// The wave list and the upgrade schedule share the match clock, and each wrap of either
// restarts it: an upgrade timed later than the waves ever let the clock run never comes.
TEST(LevelPlaytest, EveryShippedLevelBuysEachTimedUpgradeAndRepeatsItsWaves) {
    json config = json::parse(shippedData("config.json"));
    config["gameplay"]["player_start_money"] = 1e7;  // an idle player who outlasts the schedules
    json levels = json::parse(shippedData("levels.json"))["levels"];
    for (size_t index = 0; index < levels.size(); ++index) {
        size_t schedule_size = levels[index]["upgrades"].size();
        size_t most_upgrades = 0;
        int wave_wraps = 0;
        std::uint64_t last_wave = 0;
        Playtest test = shippedLevel(int(index), Blue, PlayerScript::Idle);
        test.config_json = config.dump();
        test.time_limit = 150;
        test.after_frame = [&](const Game& game) {
            most_upgrades = std::max<size_t>(most_upgrades, game.schedule_index);
            if (game.wave_index < last_wave) ++wave_wraps;
            last_wave = game.wave_index;
            return most_upgrades < schedule_size || wave_wraps == 0;
        };
        playLevel(test);
        EXPECT_EQ(most_upgrades, schedule_size) << "level " << index;
        EXPECT_GE(wave_wraps, 1) << "level " << index;
    }
}

// The whole ladder: every shipped level, every script, every faction, three seeds, with the
// outcomes printed as a table. Slow (minutes); run it after changing levels.json or the unit
// stats: tarvex_tests --gtest_also_run_disabled_tests --gtest_filter='*DifficultyLadder*'
// (PLAYTEST_LEVELS=path plays another levels file).
TEST(LevelPlaytest, DISABLED_DifficultyLadder) {
    std::string levels_json = ladderLevels();
    json levels = json::parse(levels_json)["levels"];
    const int seeds = 3;
    std::map<int, std::map<PlayerScript, int>> wins_by_grade;
    std::vector<std::map<PlayerScript, int>> wins(levels.size());
    for (size_t index = 0; index < levels.size(); ++index) {
        std::printf("%zu %s (%s, %d)\n%9s", index, levels[index].value("name", "").c_str(),
                    levels[index].value("faction", "Red").c_str(), levels[index].value("difficulty", 1), "");
        for (int faction = 0; faction < kFactionCount; ++faction) std::printf(" %-8s", factionLevelName(faction));
        std::printf("\n");
        for (int s = 0; s < kPlayerScriptCount; ++s) {
            PlayerScript script = PlayerScript(s);
            std::printf("  %-7s", scriptName(script));
            for (int faction = 0; faction < kFactionCount; ++faction) {
                std::string marks;
                float seconds = 0;
                for (unsigned seed = 1; seed <= seeds; ++seed) {
                    Playtest test = shippedLevel(int(index), faction, script);
                    test.levels_json = levels_json;
                    test.seed = seed;
                    PlaytestResult result = playLevel(test);
                    marks += mark(result.outcome);
                    seconds += result.seconds / seeds;
                    wins[index][script] += result.outcome == Outcome::Victory;
                }
                std::printf(" %s %4.0f", marks.c_str(), seconds);
                std::fflush(stdout);
            }
            std::printf("\n");
            wins_by_grade[levels[index].value("difficulty", 1)][script] += wins[index][script];
        }
    }
    const int everyone = kFactionCount * seeds;
    EXPECT_EQ(wins[0][PlayerScript::Novice], everyone);
    for (size_t index = 0; index < levels.size(); ++index) {
        EXPECT_EQ(wins[index][PlayerScript::Idle], 0) << index;
        if (levels[index].value("difficulty", 1) < 5) {
            EXPECT_EQ(wins[index][PlayerScript::Strong], everyone) << index;
        }
    }
    EXPECT_EQ(wins.back()[PlayerScript::Novice] + wins.back()[PlayerScript::Steady], 0);
    EXPECT_LT(wins.back()[PlayerScript::Strong], everyone);
    for (auto grade = wins_by_grade.begin(); std::next(grade) != wins_by_grade.end(); ++grade)
        EXPECT_GE(grade->second[PlayerScript::Novice], std::next(grade)->second[PlayerScript::Novice])
            << "difficulty " << grade->first;
}
