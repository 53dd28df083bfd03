#include "app/balance_lab.h"
#include "app/clock.h"
#include "app/commands.h"
#include "app/game.h"
#include "app/log.h"
#include "app/replay_record.h"
#include "app/update.h"
#include "battle/turret.h"
#include "content/factions.h"
#include "content/durable_file.h"
#include "content/levels.h"
#include "content/upgrades.h"

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace {
constexpr std::int64_t kLabFrameUs = 16667;   // 60 frames a second
constexpr double kLongestMatch = 600;         // seconds of game time
constexpr float kReserve = 100;

std::uint64_t mix(std::uint64_t value) {  // splitmix64's finaliser
    value += 0x9e3779b97f4a7c15ull;
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ull;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebull;
    return value ^ (value >> 31);
}

// The scripted player's own state between frames.
struct Script {
    Strategy strategy;
    std::mt19937_64 picks;
    int next_lane = 0, units_since_upgrade = 0, upgrades = 0;
};

float statPrice(const Game& game, UpgradeStat stat) {
    return factionDiscount(stat, game.player_faction) * upgradePrice(stat, game.player_upgrades);
}

// Through the commands a player's keys and panel give, so a recorded lab match replays.
void sendUnit(Game& game, Script& script, int lane) {
    performCommand(game, commandOf(ReplayCommandKind::Spawn, 0, std::uint8_t(lane)));
    ++script.units_since_upgrade;
}

// Whether it was bought: every purchase costs money.
bool buy(Game& game, PanelButton button) {
    float before = game.player_money;
    performCommand(game, commandOf(ReplayCommandKind::Upgrade, 0, std::uint8_t(button)));
    return game.player_money < before;
}

void playBalanced(Game& game, Script& script) {
    static const UpgradeStat kTurns[] = {FireRate, Range, MoveSpeed};
    static const PanelButton kButtons[] = {ButtonFireRate, ButtonRange, ButtonMove};
    int turn = script.upgrades % 3;
    if (script.units_since_upgrade >= 3 && game.player_money - statPrice(game, kTurns[turn]) >= 2 * kReserve) {
        if (buy(game, kButtons[turn])) ++script.upgrades;
        script.units_since_upgrade = 0;
    } else if (game.player_money - unitPrice(game.player_faction) >= kReserve) {
        sendUnit(game, script, script.next_lane);
        script.next_lane = (script.next_lane + 1) % 3;
    }
}

void playFrame(Game& game, Script& script) {
    switch (script.strategy) {
        case Strategy::Spam:
            if (game.player_money >= unitPrice(game.player_faction)) sendUnit(game, script, int(script.picks() % 3));
            return;
        case Strategy::Balanced: playBalanced(game, script); return;
        case Strategy::Eco:
            if (game.player_upgrades.levels[Income] < 3) {
                if (game.player_money - statPrice(game, Income) >= kReserve) buy(game, ButtonIncome);
                return;
            }
            playBalanced(game, script);
            return;
    }
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, ',');) parts.push_back(part);
    return parts;
}

bool readNumber(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), ::isdigit)) return false;
    value = std::stoll(text);
    return value >= low && value <= high;
}

// "1-10", "3", "1,4,7-9": levels as players count them, kept as indexes.
bool readLevels(const std::string& text, int count, std::vector<int>& levels) {
    for (const std::string& part : splitList(text)) {
        std::size_t dash = part.find('-');
        long long first, last;
        if (!readNumber(part.substr(0, dash), 1, count, first)) return false;
        last = first;
        if (dash != std::string::npos && !readNumber(part.substr(dash + 1), first, count, last)) return false;
        for (long long level = first; level <= last; ++level) levels.push_back(int(level) - 1);
    }
    return !levels.empty();
}

bool readFactions(const std::string& text, std::vector<int>& factions) {
    for (std::string part : splitList(text)) {
        std::transform(part.begin(), part.end(), part.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        int faction = 0;
        while (faction < kFactionCount && part != factionConfigKey(faction)) ++faction;
        if (faction == kFactionCount) return false;
        factions.push_back(faction);
    }
    return !factions.empty();
}

bool readStrategies(const std::string& text, std::vector<Strategy>& strategies) {
    for (const std::string& part : splitList(text)) {
        auto found = std::find(std::begin(kStrategyNames), std::end(kStrategyNames), part);
        if (found == std::end(kStrategyNames)) return false;
        strategies.push_back(Strategy(found - std::begin(kStrategyNames)));
    }
    return !strategies.empty();
}

std::string rowLine(const LabRow& row) {
    char line[160];
    std::snprintf(line, sizeof(line), "%5d  %5d  %-7s  %-8s  %4d/%-4d  %9.1f s  %12.0f  ", row.level, row.stars,
                  factionLevelName(row.faction), kStrategyNames[int(row.strategy)], row.wins, row.runs,
                  row.mean_length, double(row.lowest_money));
    return line + row.level_name;
}

void writeJson(const LabPlan& plan, const std::vector<LabRow>& rows) {
    nlohmann::json out = {{"seed", plan.seed}, {"runs", plan.runs}, {"rows", nlohmann::json::array()}};
    for (const LabRow& row : rows)
        out["rows"].push_back({{"level", row.level}, {"level_name", row.level_name}, {"stars", row.stars},
                               {"faction", factionLevelName(row.faction)},
                               {"strategy", kStrategyNames[int(row.strategy)]}, {"wins", row.wins},
                               {"runs", row.runs}, {"mean_length", row.mean_length},
                               {"lowest_money", row.lowest_money}});
    std::ofstream(plan.json_file, std::ios::binary) << out.dump(2) << "\n";
}
}  // namespace

std::optional<LabPlan> readLabPlan(const std::vector<std::string>& options, int level_count, std::string& why) {
    LabPlan plan;
    for (std::size_t i = 0; i < options.size(); i += 2) {
        const std::string& option = options[i];
        if (i + 1 >= options.size()) {
            why = option + " needs a value";
            return std::nullopt;
        }
        const std::string& value = options[i + 1];
        long long number = 0;
        bool read = true;
        if (option == "--levels")
            read = readLevels(value, level_count, plan.levels);
        else if (option == "--factions")
            read = readFactions(value, plan.factions);
        else if (option == "--strategies")
            read = readStrategies(value, plan.strategies);
        else if (option == "--runs")
            read = readNumber(value, 1, 100000, number) && (plan.runs = int(number), true);
        else if (option == "--seed")
            read = readNumber(value, 0, 999999999999999999LL, number) && (plan.seed = std::uint64_t(number), true);
        else if (option == "--json")
            plan.json_file = value;
        else if (option == "--record")
            plan.record_folder = value;
        else
            read = (why = "unrecognised option '" + option + "'", false);
        if (!read) {
            if (why.empty()) why = "'" + value + "' is no value for " + option;
            return std::nullopt;
        }
    }
    if (plan.levels.empty())
        for (int level = 0; level < level_count; ++level) plan.levels.push_back(level);
    if (plan.factions.empty())
        for (int faction = 0; faction < kFactionCount; ++faction) plan.factions.push_back(faction);
    if (plan.strategies.empty()) plan.strategies = {Strategy::Spam, Strategy::Balanced, Strategy::Eco};
    return plan;
}

LabMatch playLabMatch(int level, int faction, Strategy strategy, std::uint64_t seed, const std::string& record_file) {
    ManualClockSource clock;
    Seeds seeds{unsigned(mix(seed)), unsigned(mix(seed + 1)), unsigned(mix(seed + 2)), unsigned(mix(seed + 3))};
    Game game(GameOptions{true, seeds, ""});
    game.game_started = game.faction_confirmed = true;
    game.player_faction = faction;
    clearMatch(game);  // the economy of every match after a game's first
    startLevel(game, game.all_levels.at(std::size_t(level)));
    clearFieldForMatch(game);
    // What only the eye sees is left out: the lab counts wins, not sparks. A recorded match
    // is the game's whole battle.
    if (record_file.empty()) {
        game.effects.enabled = false;
        game.hex_grid_enabled = 0;
    } else {
        beginRecording(game, level + 1, game.all_levels.at(std::size_t(level)));
    }
    Script script{strategy, std::mt19937_64(mix(seed + 4))};
    LabMatch match;
    match.lowest_money = game.player_money;
    while (!game.game_over && match.length < kLongestMatch) {
        playFrame(game, script);
        clock.advanceMicroseconds(kLabFrameUs);
        stepFrame(game, kLabFrameUs);
        match.length += double(kLabFrameUs) / 1e6;
        match.lowest_money = std::min(match.lowest_money, game.player_money);
    }
    match.ended = game.game_over;
    match.won = game.game_over && game.match_won;
    if (!record_file.empty()) {
        finishRecording(game);  // kept nowhere by itself: a headless game has no folder
        std::string error = replaceFileDurably(record_file, encodeReplay(game.replay.replay));
        if (!error.empty()) logLine("⚠️ 回放未能保存：", error);
    }
    return match;
}

std::vector<LabRow> runLab(const LabPlan& plan, const std::vector<nlohmann::json>& levels, std::ostream& out,
                           std::ostream& progress) {
    std::vector<LabRow> rows;
    out << "level  stars  faction  strategy  wins       mean length  lowest money  name\n";
    int done = 0;
    for (int level : plan.levels) {
        const nlohmann::json& data = levels.at(std::size_t(level));
        progress << "simulating level " << level + 1 << " (" << ++done << " of " << plan.levels.size() << ")\n"
                 << std::flush;
        for (int faction : plan.factions) {
            for (Strategy strategy : plan.strategies) {
                LabRow row{level + 1, levelText(data, "name", "?"), int(levelInteger(data, "difficulty", 0)), faction,
                           strategy};
                double length = 0;
                silenceLog(true);
                for (int run = 0; run < plan.runs; ++run) {
                    std::uint64_t seed = mix(plan.seed ^ mix(std::uint64_t(level) << 40 | std::uint64_t(faction) << 32 |
                                                             std::uint64_t(strategy) << 24 | std::uint64_t(run)));
                    std::string record_file;
                    if (!plan.record_folder.empty())
                        record_file = plan.record_folder + "/" + std::to_string(level + 1) + "-" +
                                      factionConfigKey(faction) + "-" + kStrategyNames[int(strategy)] + "-" +
                                      std::to_string(run + 1) + ".tvxreplay";
                    LabMatch match = playLabMatch(level, faction, strategy, seed, record_file);
                    row.wins += match.won;
                    length += match.length;
                    row.lowest_money = run == 0 ? match.lowest_money : std::min(row.lowest_money, match.lowest_money);
                }
                silenceLog(false);
                row.runs = plan.runs;
                row.mean_length = length / plan.runs;
                out << rowLine(row) << "\n" << std::flush;
                rows.push_back(row);
            }
        }
    }
    if (!plan.json_file.empty()) writeJson(plan, rows);
    return rows;
}

std::string simulateFromCommandLine(const std::vector<std::string>& options, std::ostream& out, std::ostream& errors) {
    silenceLog(true);
    std::vector<nlohmann::json> levels = Game(GameOptions{true, Seeds{}, ""}).all_levels;  // as a match loads them
    silenceLog(false);
    std::string why;
    std::optional<LabPlan> plan = readLabPlan(options, int(levels.size()), why);
    if (!plan) return why;
    auto start = std::chrono::steady_clock::now();
    std::vector<LabRow> rows = runLab(*plan, levels, out, errors);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double game_time = 0;
    for (const LabRow& row : rows) game_time += row.mean_length * row.runs;
    char line[160];
    std::snprintf(line, sizeof(line), "%zu matches, %.0f s of game time in %.1f s: %.0fx real time\n",
                  rows.size() * std::size_t(plan->runs), game_time, seconds, game_time / std::max(seconds, 1e-6));
    errors << line;
    return "";
}
