#include "app/screen.h"
#include "net/net_support.h"
#include "net/packet_reader.h"

// A LAN peer that stops reading, floods, leaves or is replaced must never freeze the game,
// feed it stale messages or leave a match running. All on 127.0.0.1, on ports the system picks.
using LanPeerFaults = GameTest;

// The peer's receive buffer is tiny and it never reads: sends pile up in the outbox
// without ever blocking, the peer is dropped after about two seconds of taking nothing,
// and what it did receive is whole packets.
TEST_F(LanPeerFaults, APeerThatStopsReadingIsDroppedWithoutFreezingTheGame) {
    LoopbackPeer peer;
    ASSERT_TRUE(peer.connect(game.lobby, false, 1024));

    Message big(200, MsgReady);
    double slowest = 0;
    for (int sends = 0; sends < 100000 && game.lobby.outbox.empty(); ++sends) {
        auto start = std::chrono::steady_clock::now();
        sendMessage(game, big);
        slowest = std::max(slowest, secondsSince(start));
    }
    ASSERT_FALSE(game.lobby.outbox.empty()) << "the socket never filled";
    EXPECT_LT(slowest, 0.1);

    // The kernel still lets a trickle through; the game goes on sending faster than that.
    auto filled = std::chrono::steady_clock::now();
    std::string log = stdoutOf([&] {
        stepUntil(game, [&] {
            for (int more = 0; more < 10; ++more) sendMessage(game, big);
            return !game.lobby.connected;
        }, 5);
    });
    ASSERT_FALSE(game.lobby.connected);
    EXPECT_GT(secondsSince(filled), 1.5);
    EXPECT_EQ(countOf(log, "连接已断开\n"), 1u);
    EXPECT_TRUE(game.lobby.outbox.empty());

    // Read everything the peer was given: whole packets, then at most one cut short.
    PacketReader reader;
    std::vector<Message> packets;
    std::array<std::uint8_t, 65536> buffer;
    std::size_t received = 0;
    while (peer.socket.receive(buffer.data(), buffer.size(), received) == sf::Socket::Status::Done)
        ASSERT_TRUE(readPackets(reader, buffer.data(), received, packets));
    // Only what the test sent, and the game's hello of its first frame.
    ASSERT_GT(packets.size(), 1u);
    for (const Message& packet : packets)
        if (packet[0] != MsgHello) ASSERT_EQ(packet, big);
}

// A flood while nobody drains (the faction or results screen) is cut off at the queue's
// bound with one line, and what that peer sent never reaches the next connection.
TEST_F(LanPeerFaults, AFloodingPeerIsDisconnectedAtTheQueueBoundAndTheNextPeerStartsClean) {
    LoopbackPeer peer;
    ASSERT_TRUE(peer.connect(game.lobby, false));
    enterNetworkGame(game);
    update(game, 1.0f / 60);  // the faction screen: nothing drains the queue
    std::vector<std::uint8_t> flood;
    for (std::size_t i = 0; i < kMaxQueuedMessages + 500; ++i) flood.insert(flood.end(), {0, 0, 0, 3, MsgSpawn, 0, 1});
    testing::internal::CaptureStdout();
    std::size_t sent = 0;
    (void)peer.socket.send(flood.data(), flood.size(), sent);
    EXPECT_TRUE(waitUntil([&] { return !game.lobby.connected; }, 5));
    EXPECT_LE(queued(game.lobby).size(), kMaxQueuedMessages);
    EXPECT_FALSE(queued(game.lobby).empty());  // spawns nobody handled

    LoopbackPeer next;  // its connect joins the ended receive thread, so its line is out
    ASSERT_TRUE(next.connect(game.lobby, false));
    EXPECT_TRUE(queued(game.lobby).empty());
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(countOf(log, "对方发送的消息过多"), 1u) << log;
    EXPECT_EQ(countOf(log, "连接已断开"), 1u);
}

// The opponent leaves mid-match: the match is over for good, the lobby says so, and
// the next connection starts from the faction selection.
TEST_F(LanPeerFaults, TheOpponentLeavingEndsTheMatchForGood) {
    auto peer = std::make_unique<LoopbackPeer>();
    ASSERT_TRUE(peer->connect(game.lobby, false));
    enterMatch(game, 0, 0, true);
    update(game, 1.0f / 60);
    spawnPlayerTurret(game, 1);
    spawnEnemyTurret(game, 0);
    game.player_upgrades.levels[FireRate] = 3;
    game.enemy_money = 12;
    ASSERT_EQ(currentScreen(game), Screen::Match);

    peer.reset();
    // Waits for the frame that noticed: the receive thread may clear `connected` between a
    // frame and the check after it.
    std::string log = stdoutOf([&] { EXPECT_TRUE(stepUntil(game, [&] { return game.lobby.opponent_left; }, 2)); });
    EXPECT_EQ(countOf(log, "对手已离开，对局结束\n"), 1u) << log;
    EXPECT_EQ(currentScreen(game), Screen::Lobby);
    EXPECT_TRUE(game.player_turrets.empty() && game.enemy_turrets.empty() && game.projectiles.empty());
    EXPECT_EQ(std::make_tuple(game.player_money, game.enemy_money, game.player_upgrades.levels[FireRate]),
              std::make_tuple(game.start_money[0], game.start_money[1], 0));
    EXPECT_FALSE(game.level_running || game.faction_confirmed || game.opponent_ready);  // no income ticks

    LoopbackPeer next;
    ASSERT_TRUE(next.connect(game.lobby, false));
    update(game, 1.0f / 60);
    EXPECT_EQ(currentScreen(game), Screen::FactionSelect);
}
