#include "app/screen.h"
#include "content/config.h"
#include "events.h"
#include "net/battle_compare.h"
#include "net/join.h"
#include "net/net_support.h"
#include "net/relay.h"

// Two real games inside the private network, the joining one through a relay that can cut the link,
// stepped together in real time: drops, waits and rejoins as a player meets them.
namespace {
using namespace std::chrono_literals;

// What a game with a window keeps on disk, in the test's data folder.
NetMemory keptMemory() {
    NetMemory memory;
    memory.file = netMemoryFilePath();
    return memory;
}

struct RejoinNetns : testing::Test {
    std::chrono::milliseconds one_way = 0ms, jitter = 0ms;  // the relay's, each way
    GameFixture host_fixture, joiner_fixture;
    Game& host = *host_fixture.game;
    std::unique_ptr<Relay> relay;
    float longest_frame = 0;  // seconds, since expectTheSameMatch began
    std::string log;  // what both games printed, in one output: each line in its own game's words
    std::chrono::steady_clock::time_point last_frame = std::chrono::steady_clock::now();

    Game& joiner() { return *joiner_fixture.game; }

    void SetUp() override {
        REQUIRE_PRIVATE_NETWORK();
        enterNetworkGame(host);
        ASSERT_TRUE(hostAndListen(host.lobby));
        relay = std::make_unique<Relay>(host.lobby.listen_port, one_way, jitter);
        joiner().lobby.memory = keptMemory();  // in the test's folder
        ASSERT_NO_FATAL_FAILURE(joinAndPlay(joiner()));
    }

    // Both games step every few milliseconds, each frame as long as the time it took, as
    // the game's loop does, until done() or the time is up; what they print is kept.
    template <typename Done>
    bool run(double seconds, Done done) {
        auto start = std::chrono::steady_clock::now();
        log += stdoutOf([&] {
            while (!done() && secondsSince(start) < seconds) {
                auto now = std::chrono::steady_clock::now();
                float dt = std::chrono::duration<float>(now - last_frame).count();
                longest_frame = std::max(longest_frame, dt);
                last_frame = now;
                update(host, dt);
                if (joiner_fixture.game) update(joiner(), dt);
                std::this_thread::sleep_for(5ms);
            }
        });
        return done();
    }
    void run(double seconds) { run(seconds, [] { return false; }); }

    // The joining game connects through the relay, both pick factions, and "ready" starts the match.
    void joinAndPlay(Game& game) {
        enterNetworkGame(game);
        ASSERT_TRUE(joinByAddress(game.lobby, "127.0.0.1:" + std::to_string(relay->port())));
        ASSERT_TRUE(run(5, [&] { return game.lobby.connected && host.lobby.connected; }));
        // A game with a match to come back to is put back into it by the host.
        if (game.rejoin.token != 0) {
            ASSERT_TRUE(run(3, [&] { return game.level_running; }));
            return;
        }
        for (auto [which, card] : {std::pair(&host, 1), std::pair(&game, 3)}) {
            press(*which, 160 + 195 * card + 90, 360);
            press(*which, 160 + 195 * card + 90, 360);
        }
        ASSERT_TRUE(run(5, [&] { return host.level_running && game.level_running && game.rejoin.token != 0; }));
    }

    void spawnOnBothSides() {
        for (int lane = 0; lane < 3; ++lane) {
            keyPress(host, kLaneKeys[lane]);
            keyPress(joiner(), kLaneKeys[2 - lane]);
        }
    }

    // A snapshot is carried on by half the measured round trip and the next seen a frame later: off by what
    // a unit (Purple's 55 px/s) moves meanwhile, long on a loaded machine and after a rejoin.
    double allowedGap() { return 4 + 55 * (std::max(0.0f, joiner().link.smoothed_round_trip_ms) / 2000 + longest_frame); }

    // A second after a rejoin (up to five more on a loaded machine): the same units in the same places,
    // and each side's money within one income tick (Yellow's 15) of the other game's count.
    void expectTheSameMatch() {
        longest_frame = 0;
        run(1);
        run(5, [&] {
            Comparison now = compareBattles(host, joiner());
            return now.pairs >= 6 && now.unmatched <= 1 && now.mean_gap < allowedGap();
        });
        Comparison seen = compareBattles(host, joiner());
        EXPECT_GE(seen.pairs, 6);
        EXPECT_LE(seen.unmatched, 1);
        EXPECT_LT(seen.mean_gap, allowedGap()) << "round trip " << joiner().link.smoothed_round_trip_ms
                                               << " ms, longest frame " << longest_frame * 1000 << " ms";
        EXPECT_LE(std::abs(joiner().enemy_money - host.player_money), 15.0f);
        EXPECT_LE(std::abs(joiner().player_money - host.enemy_money), 15.0f);
    }

    bool bothWaiting() { return host.rejoin.waiting && joiner().rejoin.waiting; }
    bool bothPlaying() { return !host.rejoin.waiting && !joiner().rejoin.waiting && joiner().lobby.connected; }
};

// Positions of every unit of a game, to see that a held match stands still.
std::vector<float> positionsOf(const Game& game) {
    std::vector<float> at;
    for (const auto* units : {&game.player_turrets, &game.enemy_turrets})
        for (const Turret& unit : *units) at.insert(at.end(), {unit.position.x, unit.position.y});
    return at;
}
}  // namespace

TEST_F(RejoinNetns, ALinkCutForFiveSecondsResumesTheSameMatch) {
    spawnOnBothSides();
    run(2);
    relay->cut();
    auto cut_at = std::chrono::steady_clock::now();
    ASSERT_TRUE(run(5, [&] { return bothWaiting(); }));
    EXPECT_NE(log.find("⚠️ 连接中断，等待对手重新连接\n"), std::string::npos);
    EXPECT_GE(rejoinSecondsLeft(joiner()), 58);
    EXPECT_EQ(currentScreen(joiner()), Screen::Match);
    auto match = [&] { return std::make_tuple(positionsOf(host), positionsOf(joiner()), host.player_money); };
    const auto held = match();
    run(5.0 - secondsSince(cut_at));
    EXPECT_EQ(match(), held);

    relay->restore();
    unsigned serial = joiner().lobby.connection_serial;
    ASSERT_TRUE(run(3, [&] { return joiner().lobby.connection_serial != serial && joiner().lobby.connected; }));
    auto reconnected = std::chrono::steady_clock::now();
    ASSERT_TRUE(run(2, [&] { return bothPlaying(); }));
    double resumed_after = secondsSince(reconnected);
    EXPECT_LT(resumed_after, 2.0);
    std::printf("rejoin after a 5 s cut: resumed %.0f ms after the reconnection\n", resumed_after * 1000);
    EXPECT_EQ(countOf(log, "✅ 对手已重新连接，对局继续\n"), 2u);  // each game says it once

    expectTheSameMatch();
    EXPECT_NE(positionsOf(host), std::get<0>(held));  // moving again
}

// The joining game dies and a new one finds the match's token on disk; the host gives it the whole match.
TEST_F(RejoinNetns, AJoiningGameKilledAndRestartedComesBackToTheMatch) {
    ASSERT_NE(joiner().lobby.memory.match_token, 0u);  // the token is on disk
    spawnOnBothSides();
    run(2);
    joiner_fixture.game.reset();
    ASSERT_TRUE(run(2, [&] { return host.rejoin.waiting; }));
    run(2);

    joiner_fixture.game = std::make_unique<Game>(GameOptions{true, kTestSeeds, ""});
    Game& restarted = joiner();
    restarted.lobby.memory = keptMemory();
    loadNetMemory(restarted.lobby.memory);
    recallMatch(restarted);
    ASSERT_EQ(restarted.rejoin.token, host.rejoin.token);
    auto start = std::chrono::steady_clock::now();
    ASSERT_NO_FATAL_FAILURE(joinAndPlay(restarted));
    ASSERT_TRUE(run(2, [&] { return bothPlaying() && restarted.level_running; }));
    std::printf("rejoin after a restart: in the match %.0f ms after the connect began\n", secondsSince(start) * 1000);

    EXPECT_EQ(std::make_pair(restarted.player_faction, restarted.enemy_faction),
              std::make_pair(host.enemy_faction, host.player_faction));
    expectTheSameMatch();
}

// A minute without the peer ends the match on both games as a departure always has; a
// host does not give a held match to another match's game meanwhile.
TEST_F(RejoinNetns, AMinuteWithoutThePeerEndsTheMatch) {
    relay->cut();
    ASSERT_TRUE(run(5, [&] { return bothWaiting(); }));
    // Another game turns up with a token of its own: turned away, the wait goes on.
    GameFixture stranger_fixture;
    Game& stranger = *stranger_fixture.game;
    stranger.rejoin.token = 1;
    enterNetworkGame(stranger);
    joinByAddress(stranger.lobby, "127.0.0.1:" + std::to_string(host.lobby.listen_port));
    run(3, [&] {
        update(stranger, 0.01f);
        return log.find("⚠️ 拒绝了另一局的对手\n") != std::string::npos;
    });
    EXPECT_NE(log.find("⚠️ 拒绝了另一局的对手\n"), std::string::npos);
    EXPECT_TRUE(host.rejoin.waiting);

    // As if all but a moment of the minute had passed.
    for (Game* game : {&host, &joiner()}) game->rejoin.lost_at_us -= 59'000'000;
    ASSERT_TRUE(run(3, [&] { return !host.rejoin.waiting && !joiner().rejoin.waiting; }));
    EXPECT_GE(countOf(log, "⚠️ 对手已离开，对局结束\n"), 2u);  // and the stranger's own
    for (Game* game : {&host, &joiner()}) {
        EXPECT_EQ(currentScreen(*game), Screen::Lobby);
        EXPECT_TRUE(game->lobby.opponent_left);
        EXPECT_EQ(game->rejoin.token, 0u);
        EXPECT_FALSE(game->level_running);
    }
}

// The same battle on both screens over a slow link: a round trip of 0, 50 or 150 ms with
// jitter. Both sides send a unit every 1.5 s for 15 s; the gap between where the host has
// each unit and where the joining game shows it is sampled every half second. Then the
// host's battle ends the match: both count the same dead and name the same winner.
struct RoundTripNetns : RejoinNetns, testing::WithParamInterface<int> {
    RoundTripNetns() {
        one_way = std::chrono::milliseconds(GetParam() / 2);
        jitter = std::chrono::milliseconds(GetParam() / 10);
        // Both games play by these rules (one config holder per process): units twice as
        // fast as usual meet and fight within the 15 s.
        for (const char* side : {"player", "enemy"})
            for (const char* faction : {"yellow", "purple"})
                Config::instance().document["turret"][side][faction]["move_speed"] = 110;
    }
};

int deathsSeen(const Game& game) {
    return int(game.sync.spawned[0] + game.sync.spawned[1]) - int(game.player_turrets.size() + game.enemy_turrets.size());
}

TEST_P(RoundTripNetns, BothScreensShowTheSameBattle) {
    double gap_sum = 0, worst_gap = 0;
    int samples = 0;
    for (int step = 1; step <= 30; ++step) {
        if (step % 3 == 1) {
            keyPress(host, kLaneKeys[step % 3]);
            keyPress(joiner(), kLaneKeys[(step / 3) % 3]);
        }
        run(0.5);
        Comparison seen = compareBattles(host, joiner());
        if (seen.pairs == 0) continue;
        gap_sum += seen.mean_gap;
        worst_gap = std::max(worst_gap, seen.mean_gap);
        ++samples;
    }
    double mean_gap = gap_sum / std::max(samples, 1);
    int round_trip = joiner().link.round_trip_ms;
    // The host's battle decides: the joining side's money runs out on the host.
    host.enemy_money = -1;
    ASSERT_TRUE(run(3, [&] { return host.game_over && joiner().game_over; }));
    std::printf("round trip %d ms (relay %d ms): mean gap %.2f px, worst sample %.2f px, deaths %d and %d\n", round_trip,
                GetParam(), mean_gap, worst_gap, deathsSeen(host), deathsSeen(joiner()));
    EXPECT_GT(samples, 20);
    EXPECT_LT(mean_gap, 4.0);
    EXPECT_GT(deathsSeen(host), 0);
    EXPECT_EQ(deathsSeen(host), deathsSeen(joiner()));
    EXPECT_TRUE(host.match_won);
    EXPECT_FALSE(joiner().match_won);
    EXPECT_GE(round_trip, GetParam());
    EXPECT_LT(round_trip, GetParam() + 60);
}

INSTANTIATE_TEST_SUITE_P(Relay, RoundTripNetns, testing::Values(0, 50, 150));
