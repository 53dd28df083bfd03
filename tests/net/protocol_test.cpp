#include "events.h"
#include "net/net_support.h"

using ProtocolReceive = GameTest;

TEST_F(ProtocolReceive, ShortUnknownAndInvalidMessagesChangeNothing) {
    game.enemy_faction = 2;
    const std::vector<Message> ignored = {{}, {1, 0, 4}, {3}, {0}, {7, 1}, {9, 1, 2}, {16, 1}, {255},
                                          {5, 2, 1},                // unknown spawn source
                                          {11, 0},                  // ready must carry 1
                                          {1, 0, 0, 5}, {3, 200},   // no such faction
                                          {5, 0, 3}, {2, 9}, {8, 0, 3}};  // no such lane
    std::string expected;
    for (const Message& message : ignored)
        if (!message.empty()) expected += "Received msg type: " + std::to_string(message[0]) + "\n";
    EXPECT_EQ(handleMessages(game, ignored), expected);
    EXPECT_EQ(std::make_tuple(game.enemy_faction, game.opponent_ready, game.handshake_received + game.faction_received),
              std::make_tuple(2, false, 0));
    EXPECT_TRUE(game.enemy_turrets.empty());
}

// The host announces its faction with a handshake, the client with MsgFaction: either
// names the opponent's faction, but only one from the other role makes the opponent
// ready, and the match starts once the local faction is confirmed too.
TEST_F(ProtocolReceive, FactionAnnouncementsCountOnlyFromTheOtherRole) {
    struct Step { bool host, confirmed; Message message; int faction; bool ready; const char* line; };
    const Step steps[] = {{true, false, {1, 0, 1, 3}, 3, false, "Received handshake, enemy faction: 3\n"},
                          {true, false, {3, 4}, 4, true, "Received faction, enemy faction: 4\n"},
                          {false, false, {3, 1}, 1, false, "Received faction, enemy faction: 1\n"},
                          {false, true, {1, 0x12, 0x34, 2}, 2, true, "faction: 2\n=== GAME START! ===\n"}};
    for (const Step& step : steps) {
        game.lobby.is_host = step.host;
        game.faction_confirmed = step.confirmed;
        game.opponent_ready = false;
        std::string log = handleMessages(game, {step.message});
        EXPECT_NE(log.find(step.line), std::string::npos) << log;
        EXPECT_EQ(std::make_tuple(game.enemy_faction, game.opponent_ready, game.level_running),
                  std::make_tuple(step.faction, step.ready, step.confirmed && step.ready)) << log;
    }
    EXPECT_EQ(std::make_tuple(game.handshake_value, game.handshake_received + game.faction_received),
              std::make_tuple(0x1234, 2));
}

// Both peers confirmed their factions and wait on the level selection: the frame update
// itself hears the peer's ready message and starts the match.
TEST_F(ProtocolReceive, ReadyStartsTheMatchOnceTheFactionIsConfirmed) {
    ManualClockSource clock;
    enterNetworkGame(game);
    game.level_select_active = true;
    EXPECT_EQ(handleMessages(game, {{11, 1}}), "Received msg type: 11\nOpponent is ready!\n");
    EXPECT_TRUE(game.opponent_ready && !game.level_running);

    game.faction_confirmed = game.lobby.connected = true;
    clock.advance(5);
    game.lobby.message_queue.push_back({11, 1});
    std::string log = stdoutOf([&] { update(game, 0.016f); });
    game.lobby.connected = false;
    EXPECT_NE(log.find("Received msg type: 11\nOpponent is ready!\n=== GAME START! ===\n"), std::string::npos);
    EXPECT_TRUE(game.level_running);
    EXPECT_EQ(game.match_clock.elapsedSeconds() + game.income_clock.elapsedSeconds(), 0.0f);
}

// Money travels as 16 truncated bits: 70000 as [6][17][112], 299.9 as [6][1][43]; bytes
// beyond a message's length are ignored.
TEST_F(ProtocolReceive, MatchMessagesMirrorThePeerAndEachPurchaseIsAnsweredWithMoney) {
    LoopbackPeer peer;
    ASSERT_TRUE(peer.connect(game.lobby, false));
    game.player_money = 70000;
    sendMoneySync(game);  // not a network game: nothing goes out
    enterNetworkGame(game);
    sendMoneySync(game);
    const std::pair<int, float> units[] = {{1, 0}, {1, 1}, {0, -1}, {1, -2}};  // lane, hp
    for (auto [lane, hp] : units) game.player_turrets.emplace_back(true, lane).hp = hp;
    game.enemy_turrets.emplace_back(false, 1).hp = 0;
    std::string log = handleMessages(game, {{6, 17, 112, 99}, {8, 0, 1}});
    EXPECT_EQ(game.enemy_money, 4464.0f);
    EXPECT_NE(log.find("RECEIVED: Money sync - eMoney=4464\nReceived msg type: 8\nRECEIVED: Turret death - lane=1\n"),
              std::string::npos) << log;
    ASSERT_EQ(game.player_turrets.size(), 2u);  // the live unit of lane 1 stays, in order
    EXPECT_EQ(std::make_pair(game.player_turrets[0].hp, game.player_turrets[1].lane), std::make_pair(1.0f, 0));
    EXPECT_EQ(game.enemy_turrets.size(), 1u);  // side 0 is the receiver's own units

    game.player_money = 299.9f;
    game.enemy_money = 150;
    log = handleMessages(game, {{8, 1, 1}, {5, 0, 0}, {5, 1, 2}, {10, 1}, {10, 2}, {10, 7}, {4, 4}});
    EXPECT_NE(log.find("RECEIVED: Enemy spawn (from player) at lane 0\nReceived msg type: 5\n"
                       "RECEIVED: Enemy spawn (from AI) at lane 2\n"), std::string::npos) << log;
    EXPECT_NE(log.find("RECEIVED: Enemy upgrade type 7\n"), std::string::npos);
    ASSERT_EQ(game.enemy_turrets.size(), 2u);  // the dead one gone, the two spawned
    const std::vector<Turret>& spawned = game.enemy_turrets;
    EXPECT_EQ(std::make_tuple(spawned[0].lane, spawned[0].position.y, spawned[1].lane),
              std::make_tuple(0, game.enemy_spawn_y, 2));
    // The peer paid for its units itself; the mirror pays 100 for one fire-rate level
    // and cannot afford range or the old-message income after that; kind 7 buys nothing.
    const UpgradeState& bought = game.enemy_upgrades;
    EXPECT_EQ(std::vector<int>(bought.levels, bought.levels + 6), std::vector<int>({1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(bought.laser_upgrades, 0);
    EXPECT_EQ(game.enemy_money, 50);
    // Every MsgUpgrade is answered with one money sync, bought or not.
    EXPECT_EQ(peer.receive(), (std::vector<Message>{{6, 17, 112}, {6, 1, 43}, {6, 1, 43}, {6, 1, 43}}));
}

TEST(ProtocolSend, FactionConfirmationAnnouncesReadyThenTheFaction) {
    for (bool as_host : {true, false}) {
        GameFixture fixture;
        Game& game = *fixture.game;
        LoopbackPeer peer;
        ASSERT_TRUE(peer.connect(game.lobby, as_host));
        enterNetworkGame(game);
        click(game, 160 + 195 * 3 + 90, 270 + 90);  // Purple
        click(game, 5, 5);
        std::vector<Message> sent = peer.receive();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], (Message{11, 1}));
        if (as_host) EXPECT_TRUE(sent[1].size() == 4 && sent[1][0] == 1 && sent[1][3] == 3);
        else EXPECT_EQ(sent[1], (Message{3, 3}));
    }
}
