#include "battle/battle_support.h"
#include "content/levels.h"
#include "content/waves.h"

namespace {
// A level started under a manual clock and played one fixed 0.016 s frame at a time.
struct WaveRun : SteppedGame {
    int frame = 0;

    explicit WaveRun(const std::string& level) { stdoutOf([&] { startLevel(game, nlohmann::json::parse(level)); }); }
    void step() {
        clock.advance(0.016f);
        ++frame;
        runWaves(game);
    }
    // Steps until the condition holds (checked after each frame); the frame, or -1.
    int stepUntil(const std::function<bool()>& condition, int limit = 5000) {
        while (frame < limit) {
            step();
            if (condition()) return frame;
        }
        return -1;
    }
    // Every attempt that finds money pays for its unit, even when the spawn point is blocked.
    int nextSpawnFrame() {
        float before = game.enemy_money;
        return stepUntil([&] { return game.enemy_money < before; });
    }
};
}  // namespace

TEST(Waves, UnitsComeAtTheWaveTimeThenEveryIntervalEvenWhenBlockedButNotWithoutMoney) {
    WaveRun run(R"({"faction": "Blue", "enemy_initial_money": 150,
                    "waves": [{"time": 5, "count": 4, "interval": 1, "lane": 0}]})");
    for (int frame : {313, 313 + 63, 313 + 126}) EXPECT_EQ(run.nextSpawnFrame(), frame);  // from 5 s on
    // Units that have not moved block the spawn point; the attempts count and are paid.
    ASSERT_EQ(run.game.enemy_turrets.size(), 1u);
    EXPECT_EQ(run.game.enemy_turrets[0].position, sf::Vector2f(380, -600));
    run.stepUntil([] { return false; }, 313 + 189);  // this attempt finds no money
    EXPECT_EQ(run.game.wave_spawned, 3);
    run.game.enemy_money = 50;
    EXPECT_EQ(run.nextSpawnFrame(), 313 + 252);  // the fourth and last unit, once paid for
}

TEST(Waves, EmptyAndLaneLessWavesArePassedOverAndRandomLanesStayOnTheField) {
    WaveRun run(R"({"faction": "Red", "enemy_initial_money": 12.5, "waves": [
                    {"time": 1, "count": 0}, {"time": 1, "lane": 7, "count": 2}, {"time": 1, "interval": 0.5}]})");
    EXPECT_EQ(run.stepUntil([&] { return run.game.wave_index == 1; }), 63);
    run.step();
    EXPECT_EQ(run.game.wave_index, 2u);
    EXPECT_EQ(run.game.enemy_money, 12.5f);
    EXPECT_EQ(run.nextSpawnFrame(), 64 + 32);
    ASSERT_EQ(run.game.enemy_turrets.size(), 1u);  // a Red unit costs 12.5
    EXPECT_TRUE(run.game.enemy_turrets[0].lane >= 0 && run.game.enemy_turrets[0].lane <= 2);
}

TEST(Waves, WrapAroundRestartsTheClockAndTheFirstWaveComesOneIntervalLater) {
    WaveRun run(R"({"enemy_initial_money": 1000, "faction": "Blue",
                    "waves": [{"time": 0, "lane": 0}, {"time": 10, "lane": 2}]})");
    EXPECT_EQ(run.nextSpawnFrame(), 33);
    EXPECT_EQ(run.nextSpawnFrame(), 625);  // 10 s
    EXPECT_EQ(run.stepUntil([&] { return run.game.match_clock.elapsedSeconds() == 0; }), 627);
    run.game.enemy_turrets.clear();  // free the spawn point of lane 0
    EXPECT_EQ(run.nextSpawnFrame(), 627 + 32);
    ASSERT_EQ(run.game.enemy_turrets.size(), 1u);
    EXPECT_EQ(run.game.enemy_turrets[0].lane, 0);
}

TEST(Waves, ScheduleBuysInOrderAndWaitsForMoneyOutsideANetworkGame) {
    WaveRun run(R"({"faction": "Blue", "enemy_initial_money": 250, "waves": [{"time": 999}], "upgrades": [
                    {"time": 0, "type": "fire"}, {"time": 0, "type": "income"}, {"time": 2, "type": 2, "levels": 3}]})");
    run.game.network_mode = true;  // neither the waves nor the schedule move in a network game
    run.step();
    EXPECT_EQ(std::make_pair(run.game.spawn_timer, run.game.schedule_index), std::make_pair(0.0f, std::uint64_t(0)));
    run.game.network_mode = false;
    run.step();  // both entries due at 0 complete in one frame
    EXPECT_EQ(run.game.schedule_index, 2u);
    EXPECT_EQ(run.game.enemy_upgrades.levels[FireRate], 1);
    EXPECT_EQ(run.game.enemy_upgrades.levels[Income], 1);
    EXPECT_EQ(run.game.enemy_money, 50);
    run.stepUntil([] { return false; }, 200);  // past 2 s: the dodge entry waits for 100
    EXPECT_EQ(run.game.schedule_index, 2u);
    run.game.enemy_money = 259;
    run.step();  // 100 for the first level, then 160 is more than what is left
    EXPECT_EQ(run.game.enemy_upgrades.levels[Dodge], 1);
    EXPECT_EQ(run.game.enemy_money, 159);
    EXPECT_EQ(run.game.schedule_index, 3u);
}

TEST(Waves, PurplePaysHalfAndWhiteATenthForDodge) {
    WaveRun purple(R"({"faction": "Purple", "enemy_initial_money": 50, "upgrades": [{"type": "range"}]})");
    purple.step();
    EXPECT_EQ(purple.game.enemy_upgrades.levels[Range], 1);
    WaveRun white(R"({"faction": "White", "enemy_initial_money": 10,
                      "upgrades": [{"type": "dodge"}, {"type": "range"}]})");
    white.step();
    EXPECT_EQ(white.game.enemy_upgrades.levels[Dodge], 1);
    EXPECT_EQ(white.game.enemy_money, 0);
    EXPECT_EQ(white.game.schedule_index, 1u);  // range is full price for White
}

TEST(Waves, ScheduleWrapRestartsTheClockAndPausesTheWaveInProgress) {
    WaveRun run(R"({"faction": "Blue", "enemy_initial_money": 100000,
                    "waves": [{"time": 20, "count": 100, "interval": 1, "lane": 1}],
                    "upgrades": [{"time": 30, "type": "income"}]})");
    int first = run.stepUntil([&] { return run.game.enemy_upgrades.levels[Income] == 1; });
    EXPECT_EQ(first, 1875);
    run.step();
    run.step();
    int spawned = run.game.wave_spawned;
    EXPECT_EQ(run.nextSpawnFrame(), first + 1 + 1250);  // paused until the clock is at 20 s again
    EXPECT_EQ(run.game.wave_spawned, spawned + 1);
    EXPECT_EQ(run.stepUntil([&] { return run.game.enemy_upgrades.levels[Income] == 2; }), first + 1 + 1875);
}
