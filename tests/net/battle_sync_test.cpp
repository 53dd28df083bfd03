#include "app/replay_play.h"
#include "app/replay_record.h"
#include "battle/battle_rand.h"
#include "battle/battle_support.h"
#include "events.h"
#include "net/battle_compare.h"
#include "net/net_support.h"

// Two real games in one process, one hosting and one joining over 127.0.0.1, stepped at
// different frame rates on one manual clock: the joining game must show the host's battle.
namespace {
constexpr float kHostDt = 1.0f / 60;
constexpr float kJoinerDt = 1.0f / 144;
constexpr double kSpawnEvery = 1.5;  // seconds between two spawns of a side's script

struct SyncedPair {
    ManualClockSource& manual_clock;
    GameFixture host_fixture, joiner_fixture;
    Game& host = *host_fixture.game;
    Game& joiner = *joiner_fixture.game;
    double now = 0, stop_joiner_spawns = 1e9;
    double next_frame[2] = {0, 0}, next_spawn[2] = {0.5, 0.5};
    std::array<float, 2> dts = {kHostDt, kJoinerDt};
    bool ended[2] = {false, false};  // each game has shown its results
    bool knows_only_original[2] = {false, false};  // the host, the joining game: built to the original messages
    std::size_t ignored_messages = 0;              // new messages such a game ignored
    // Frames as the loop takes them, whole microseconds of the clock each, into the games'
    // recordings; each game draws from its own random sequence, as on its own machine.
    bool recorded_frames = false;
    BattleRandState rand_states[2];

    void recordFrames() {
        recorded_frames = true;
        rand_states[0] = rand_states[1] = battleRandState();
    }

    template <typename Step>
    void asGame(int side, Step step) {
        if (recorded_frames) restoreBattleRand(rand_states[side]);
        step();
        if (recorded_frames) rand_states[side] = battleRandState();
    }

    explicit SyncedPair(ManualClockSource& clock) : manual_clock(clock) {}

    void connect() {
        ASSERT_TRUE(hostAndListen(host.lobby));  // with its beacon, which stays inside the namespace
        ASSERT_TRUE(connectToHost(joiner, {sf::IpAddress::LocalHost, host.lobby.listen_port}));
        ASSERT_TRUE(waitUntil([&] { return bool(host.lobby.connected); }, 5));
        enterMatch(host, Yellow, Red, true);
        enterMatch(joiner, Red, Yellow, true);
    }

    // Greeted and in a match both can come back to, from a fresh start of the shared
    // random sequence and the match clocks.
    void makeRejoinable() {
        for (Game* game : {&host, &joiner}) {
            followConnection(*game);  // the hello
            deliver(*game, game == &host ? joiner : host);
        }
        for (Game* game : {&host, &joiner}) followConnection(*game);
        offerMatchToken(host);
        deliver(host, joiner);
        seedBattleRand(kTestSeeds.rand);
        for (Game* game : {&host, &joiner}) {
            processLinkMessages(*game);
            game->match_clock.restart();
            game->income_clock.restart();
        }
    }

    // Waits until everything the game sent has been queued by its peer, so a message
    // reaches the other game by its next frame, as on a quiet LAN.
    void deliver(Game& from, Game& to) {
        ASSERT_TRUE(waitUntil([&] {
            flushOutbox(from.lobby);
            return to.lobby.messages_received == from.lobby.messages_sent;
        }, 5, 1));
        // A game built to the original messages ignores every newer one, and sends none.
        bool old_receiver = knows_only_original[&to == &joiner], old_sender = knows_only_original[&from == &joiner];
        std::uint8_t first_unknown = old_receiver ? MsgSnapshotBegin : old_sender ? MsgHello : 0;
        if (first_unknown == 0) return;
        std::lock_guard<std::mutex> lock(to.lobby.queue_mutex);
        auto& queue = to.lobby.message_queue;
        auto newer = std::remove_if(queue.begin(), queue.end(), [&](const Message& m) { return m[0] >= first_unknown; });
        if (old_receiver) ignored_messages += std::size_t(queue.end() - newer);
        queue.erase(newer, queue.end());
    }

    // Steps both games in time order, each at its own frame rate, with the same spawn
    // script on both sides, until `end` seconds of game time or until `done` holds.
    template <typename Done>
    void play(double end, Done done) {
        Game* games[2] = {&host, &joiner};
        while (!done()) {
            int side = next_frame[0] <= next_frame[1] ? 0 : 1;
            if (next_frame[side] > end) return;
            Game& game = *games[side];
            auto pressDue = [&] {
                if ((side == 1 && now >= stop_joiner_spawns) || next_frame[side] < next_spawn[side] || game.game_over)
                    return;
                keyPress(game, kLaneKeys[int(next_spawn[side] / kSpawnEvery) % 3]);  // lanes 0, 1, 2 in turn
                next_spawn[side] += kSpawnEvery;
            };
            manual_clock.advance(float(next_frame[side] - now));
            now = next_frame[side];
            if (!recorded_frames) pressDue();
            std::int64_t frame_us = std::llround(dts[side] * 1e6);
            asGame(side, [&] {
                if (recorded_frames)
                    stepFrame(game, frame_us);
                else
                    update(game, dts[side]);
                next_frame[side] += recorded_frames ? double(frame_us) / 1e6 : dts[side];
                // The loop takes a frame's input on the time of the frame before.
                if (recorded_frames) pressDue();
            });
            ended[side] = ended[side] || game.game_over;
            deliver(game, *games[1 - side]);
        }
    }

    // Little money, so the bases fall soon, and coarse frames, where only the outcome counts.
    void quicken() {
        dts = {1.0f / 30, 1.0f / 45};
        for (Game* game : {&host, &joiner}) game->player_money = game->enemy_money = 300;
    }

    // The joining game's line is cut: real time passes for the drop and the new connection,
    // match time stands still.
    void cutAndRejoin() {
        shutDownSocket(*joiner.lobby.client_socket);
        for (bool waiting : {true, false})
            EXPECT_TRUE(waitUntil([&] {
                for (int side : {0, 1}) asGame(side, [&] { stepFrame(side ? joiner : host, 0); });
                return host.rejoin.waiting == waiting && joiner.rejoin.waiting == waiting;
            }, 5, 5)) << "waiting " << waiting;
    }

    // Plays until both games have shown their results; whether they did.
    bool playToTheEnd() {
        play(400, [&] { return ended[0] && ended[1]; });
        return ended[0] && ended[1];
    }
};

struct ClockHolder {
    ManualClockSource clock;
};

struct BattleSyncNetns : ClockHolder, SyncedPair, testing::Test {
    BattleSyncNetns() : SyncedPair(clock) {}
    void SetUp() override {
        REQUIRE_PRIVATE_NETWORK();
        connect();
    }
};
}  // namespace

// 90 s of battle, compared every 10 s whatever the moment within a snapshot's interval.
TEST_F(BattleSyncNetns, TheJoiningGameShowsTheHostsBattleAndItsResult) {
    Comparison seen;
    for (double sample = 10; sample <= 90; sample += 10) {
        play(sample, [] { return false; });
        seen = compareBattles(host, joiner);
        SCOPED_TRACE(testing::Message() << "at " << sample << " s");
        EXPECT_LE(seen.unmatched, 1);  // one may still be in flight
        EXPECT_LT(seen.mean_gap, 2.0);
        EXPECT_LT(seen.max_gap, 10.0);
        EXPECT_LE(seen.max_hp_difference, 1.0);  // a hit the other game takes a frame later, at most
    }
    EXPECT_GT(seen.pairs, 10);  // units alive on both at the end
    EXPECT_GT(joiner.sync.snapshots_applied, 300u);
    EXPECT_EQ(host.player_money, joiner.enemy_money);

    // The joining side stops sending units, so the match comes to an end.
    stop_joiner_spawns = now;
    play(400, [&] { return ended[0] || ended[1]; });
    ASSERT_TRUE(host.game_over);
    EXPECT_FALSE(ended[1]);  // the joining game never ends the match on its own reckoning
    update(joiner, kJoinerDt);
    EXPECT_TRUE(joiner.game_over);  // by the host's last snapshot, at its next frame
    EXPECT_NE(host.match_won, joiner.match_won);  // one winner: exactly one results screen is a victory
}

// Against a game of the original messages each game reckons its own battle and ends the match on its
// own reckoning: a joining game from before snapshots reads none; a host from before them sends no
// snapshot nor hello, and the joining game greets it once and then speaks only the original messages.
TEST_F(BattleSyncNetns, AGameThatKnowsOnlyTheOriginalMessagesStillPlaysAWholeMatchInEitherRole) {
    knows_only_original[1] = true;
    quicken();
    EXPECT_TRUE(playToTheEnd());
    EXPECT_FALSE(joiner.sync.following);
    EXPECT_GT(ignored_messages, 60u) << "the host shared its battle all along";
    EXPECT_EQ(host.link.peer_version, 0);  // never greeted: no pings, no pause, no rules

    SyncedPair old_host(clock);
    ASSERT_NO_FATAL_FAILURE(old_host.connect());
    old_host.knows_only_original[0] = true;
    old_host.host.sync.share_battle = false;
    old_host.quicken();
    EXPECT_TRUE(old_host.playToTheEnd());
    EXPECT_EQ(old_host.ignored_messages, 1u);  // the joining game's hello, and nothing new after it
    EXPECT_EQ(old_host.joiner.link.peer_version, 0);
    EXPECT_EQ(old_host.joiner.link.round_trip_ms, -1);
}

// P on either game pauses both and P on either resumes both; nothing moves and no clock
// runs meanwhile. Each player has three pauses a match; the fourth does nothing but say so.
TEST_F(BattleSyncNetns, APauseBothSeeAndItsLimit) {
    play(5, [] { return false; });
    ASSERT_GT(host.player_turrets.size(), 1u);
    EXPECT_GE(host.link.round_trip_ms, 0);  // measured by now, a frame or two of game time
    EXPECT_LT(host.link.round_trip_ms, 60);
    EXPECT_GE(joiner.link.round_trip_ms, 0);

    auto positions = [](const Game& game) {
        std::vector<float> ys;
        for (const Turret& unit : game.player_turrets) ys.push_back(unit.position.y);
        return ys;
    };
    auto held = [&] {  // what a pause holds still
        return std::make_tuple(positions(host), positions(joiner), host.player_money, host.match_clock.elapsedSeconds());
    };
    for (int round = 0; round < 3; ++round) {
        Game& pauser = round == 1 ? joiner : host;
        Game& resumer = round == 1 ? host : joiner;
        keyPress(pauser, sf::Keyboard::Key::P);
        play(now + 0.2, [] { return false; });
        ASSERT_TRUE(host.paused && joiner.paused) << "round " << round;
        const auto at_pause = held();
        stop_joiner_spawns = next_spawn[0] = now + 1e9;  // nobody presses a lane key while paused
        play(now + 3, [] { return false; });
        EXPECT_EQ(held(), at_pause) << "round " << round;
        keyPress(resumer, sf::Keyboard::Key::P);
        play(now + 0.2, [] { return false; });
        ASSERT_FALSE(host.paused || joiner.paused) << "round " << round;
        play(now + 1, [] { return false; });
        EXPECT_NE(positions(host), std::get<0>(at_pause));
    }
    // The host has paused twice, the joining game once: the host's third pause takes, its fourth does not.
    keyPress(host, sf::Keyboard::Key::P);
    keyPress(host, sf::Keyboard::Key::P);
    EXPECT_EQ(host.link.own_pauses, 3);
    std::string log = stdoutOf([&] { keyPress(host, sf::Keyboard::Key::P); });
    EXPECT_FALSE(host.paused);
    EXPECT_EQ(log, "⚠️ 本局的 3 次暂停已用完\n");
    EXPECT_EQ(chineseText(host.link.pause_notice), "本局的 3 次暂停已用完");
    keyPress(joiner, sf::Keyboard::Key::P);
    EXPECT_TRUE(joiner.paused);  // the joining game still has pauses left
}

// A cut holds the host's battle and loses nothing the games had said: cut mid-match and
// rejoined, the match ends with the winner the same script has without the cut.
TEST_F(BattleSyncNetns, ACutAndRejoinedMatchEndsAsTheUncutMatch) {
    auto playTheMatch = [](SyncedPair& pair, double cut_at) {
        pair.makeRejoinable();
        EXPECT_NE(pair.joiner.rejoin.token, 0u);
        pair.quicken();
        if (cut_at > 0) {
            pair.play(cut_at, [] { return false; });
            pair.cutAndRejoin();
        }
        EXPECT_TRUE(pair.playToTheEnd());
        return std::make_pair(pair.host.match_won, pair.joiner.match_won);
    };
    std::pair<bool, bool> with_cut;
    std::string log = stdoutOf([&] { with_cut = playTheMatch(*this, 20); });
    EXPECT_EQ(countOf(log, "✅ 对手已重新连接，对局继续\n"), 2u);
    SyncedPair control(clock);
    ASSERT_NO_FATAL_FAILURE(control.connect());
    EXPECT_EQ(with_cut, playTheMatch(control, 0));
}

// Each side keeps the match it played, from the ready exchange that starts it to its end,
// through a cut and the return, and its replay plays that side's battle again exactly.
TEST_F(BattleSyncNetns, EachSidesRecordingOfAMatchCutAndRejoinedVerifies) {
    Game* games[2] = {&host, &joiner};
    for (Game* game : games) {
        game->replay.folder = (game == &host ? host_fixture : joiner_fixture).dir.path() + "/replays";
        game->level_running = false;
        followConnection(*game);  // the hello
    }
    quicken();
    recordFrames();
    sendMessage(host, {MsgReady, 1});
    sendMessage(host, {MsgHandshake, 0, 7, std::uint8_t(Yellow)});
    sendMessage(joiner, {MsgReady, 1});
    sendMessage(joiner, {MsgFaction, std::uint8_t(Red)});
    deliver(host, joiner);
    deliver(joiner, host);
    play(12, [] { return false; });
    ASSERT_TRUE(host.replay.recording && joiner.replay.recording);
    ASSERT_GT(joiner.sync.snapshots_applied, 10u);
    cutAndRejoin();
    ASSERT_TRUE(playToTheEnd());
    for (Game* game : games) {
        SCOPED_TRACE(game == &host ? "host" : "joining game");
        std::vector<std::string> files = listReplays(game->replay.folder);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_NE(files[0].find("-lan.tvxreplay"), std::string::npos);
        ReplayVerdict verdict = verifyReplay(files[0]);
        EXPECT_EQ(verdict.status, 0) << verdict.line;
        Replay replay;
        ASSERT_EQ(loadReplay(files[0], replay), "");
        EXPECT_EQ(replay.host, game == &host);
        EXPECT_EQ(replay.result, game->match_won ? "won" : "lost");
        // A joining game's recording is mostly the host's snapshots: about 1 MB for ten minutes.
        EXPECT_LT(double(fileContents(files[0]).size()) / replay.length_seconds * 600, 1.5e6);
    }
}

// A blocked spawn point drops the host's unit on the joining game; its number is still
// taken, so the next unit pairs right, and the next snapshot brings the missing one.
TEST_F(BattleSyncNetns, ASpawnTheJoiningGameDroppedIsRepairedByTheNextSnapshot) {
    addUnit(joiner, false, 0, {joiner.lane_x[0], joiner.enemy_spawn_y}).hp = 1000;
    host.sync.since_snapshot = -10;  // no snapshot until the spawns are in
    for (int lane : {0, 1}) keyPress(host, kLaneKeys[lane]);
    deliver(host, joiner);
    update(joiner, kJoinerDt);
    ASSERT_EQ(joiner.enemy_turrets.size(), 2u);  // the blocker and the lane-1 unit
    EXPECT_EQ(std::make_tuple(joiner.enemy_turrets[1].net_number, joiner.enemy_turrets[1].lane), std::make_tuple(2, 1));

    host.sync.since_snapshot = kSnapshotInterval;
    clock.advance(kHostDt);
    update(host, kHostDt);
    deliver(host, joiner);
    update(joiner, kJoinerDt);
    Comparison repaired = compareBattles(host, joiner);
    EXPECT_EQ(std::make_pair(repaired.pairs, repaired.unmatched), std::make_pair(2, 0));  // the blocker is gone too
    EXPECT_LT(repaired.max_gap, 1.0);
    EXPECT_EQ(joiner.sync.units_repaired, 1u);
}
