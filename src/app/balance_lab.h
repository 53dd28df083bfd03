#pragma once
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The balance lab: shipped levels played headless by scripted players, as fast as the
// machine allows, to see whether each level can be won and by whom.

// The scripted players.
//   spam:     the faction's unit down a random lane whenever it can be paid for
//   balanced: the lanes in turn, never below a reserve of 100; after every three units an
//             upgrade (fire rate, range, move speed in turn) when it leaves twice the reserve
//   eco:      income upgrades first while they leave the reserve (up to three), then as balanced
enum class Strategy { Spam, Balanced, Eco };
constexpr const char* kStrategyNames[] = {"spam", "balanced", "eco"};

struct LabPlan {
    std::vector<int> levels;          // indexes into levels.json, 0 first
    std::vector<int> factions;        // the player's
    std::vector<Strategy> strategies;
    int runs = 10;
    std::uint64_t seed = 1;
    std::string json_file;            // "" writes none
    // --record DIR: every match is played whole, with what only the eye sees, and kept
    // there as LEVEL-FACTION-STRATEGY-RUN.tvxreplay (the regression replays of the tests).
    std::string record_folder;
};

// One line of the table: a level, a faction and a strategy over every run.
struct LabRow {
    int level = 0;                    // 1 first, as players count
    std::string level_name;
    int stars = 0;                    // the level's "difficulty"
    int faction = 0;
    Strategy strategy = Strategy::Spam;
    int wins = 0, runs = 0;
    double mean_length = 0;           // seconds of game time
    float lowest_money = 0;           // the player's, over every run
};

// The plan from the options after --simulate; nullopt (with why) when they make no sense.
// level_count: how many levels levels.json holds.
std::optional<LabPlan> readLabPlan(const std::vector<std::string>& options, int level_count, std::string& why);

// Plays the plan on the levels (for their names and stars); prints a progress line per
// level to `progress` and the table to `out`, and writes the JSON file when asked.
std::vector<LabRow> runLab(const LabPlan& plan, const std::vector<nlohmann::json>& levels, std::ostream& out,
                           std::ostream& progress);

// --simulate [--levels 1-10] [--factions red,...] [--strategies spam,...] [--runs K]
// [--seed S] [--json FILE] [--record DIR]: the table to `out`, progress and speed to `errors`. Returns ""
// or why the options were refused.
std::string simulateFromCommandLine(const std::vector<std::string>& options, std::ostream& out, std::ostream& errors);

// One match: a level (index), a faction and a strategy from a seed; at most ten minutes.
struct LabMatch {
    bool won = false, ended = false;
    double length = 0;                // seconds of game time
    float lowest_money = 0;
};
// With a record file, the whole match is played and kept there.
LabMatch playLabMatch(int level, int faction, Strategy strategy, std::uint64_t seed,
                      const std::string& record_file = "");
