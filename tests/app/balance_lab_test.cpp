#include "app/balance_lab.h"
#include "app/command_line.h"
#include "support.h"

#include <chrono>
#include <sstream>

namespace {
struct LabRun {
    int status = -1;
    std::string out, errors;
};

LabRun simulate(std::vector<const char*> options) {
    options.insert(options.begin(), {"tarvex", "--simulate"});
    std::ostringstream out, errors;
    LabRun run;
    run.status = *runCommandLine(int(options.size()), options.data(), out, errors).exit_status;
    run.out = out.str();
    run.errors = errors.str();
    return run;
}

struct BalanceLab : testing::Test {
    GameFixture fixture{shippedData("config.json"), shippedData("levels.json")};
};
}  // namespace

TEST_F(BalanceLab, TheSameSeedGivesTheSameTableAndFile) {
    std::vector<const char*> plan = {"--levels", "1,5", "--factions", "white", "--runs", "2", "--seed", "5", "--json",
                                     "lab.json"};
    LabRun first = simulate(plan);
    std::string first_json = fileContents("lab.json");
    LabRun again = simulate(plan);
    ASSERT_EQ(first.status, 0) << first.errors;
    EXPECT_EQ(again.out, first.out);
    EXPECT_EQ(fileContents("lab.json"), first_json);
    EXPECT_EQ(countOf(first.out, "\n"), 7u) << first.out;  // the header and a row per level and strategy
    EXPECT_EQ(first.out.rfind("level  stars  faction  strategy  wins", 0), 0u) << first.out;
    EXPECT_NE(first.out.find("    1      1  White    spam         "), std::string::npos) << first.out;
    EXPECT_NE(first.errors.find("simulating level 5 (2 of 2)\n"), std::string::npos) << first.errors;
    nlohmann::json rows = nlohmann::json::parse(first_json)["rows"];
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[5]["strategy"], "eco");
    EXPECT_EQ(rows[5]["level"], 5);
    for (const nlohmann::json& row : rows) EXPECT_LE(row["wins"].get<int>(), 2);
}

TEST_F(BalanceLab, OptionsThatMakeNoSenseAreRefused) {
    for (std::vector<const char*> options : std::vector<std::vector<const char*>>{
             {"--levels", "0"}, {"--levels", "11"}, {"--levels", "3-2"}, {"--factions", "green"},
             {"--strategies", "turtle"}, {"--runs", "0"}, {"--seed", "-1"}, {"--runs"}, {"--fast", "1"}}) {
        LabRun run = simulate(options);
        EXPECT_EQ(run.status, 2) << options[0];
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.errors.rfind("tarvex: --simulate: ", 0), 0u) << run.errors;
    }
}

// One match of the first level as every scripted player, against the clock: printed for
// the record, as a machine under load runs slower.
TEST_F(BalanceLab, AShippedLevelPlaysFasterThanRealTime) {
    for (Strategy strategy : {Strategy::Spam, Strategy::Balanced, Strategy::Eco}) {
        auto start = std::chrono::steady_clock::now();
        LabMatch match;
        stdoutOf([&] { match = playLabMatch(0, 0, strategy, 9); });
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_TRUE(match.ended);
        EXPECT_GT(match.length, 5);
        std::printf("level 1, %s: %.0f s of game time in %.3f s (%.0fx)\n", kStrategyNames[int(strategy)],
                    match.length, seconds, match.length / seconds);
    }
}
