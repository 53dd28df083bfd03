#include "app/update.h"
#include "events.h"
#include "net/net_support.h"
#include "net/protocol.h"
#include "support.h"

#include <gtest/gtest.h>

namespace {
// Handles the messages as if the receive thread had queued them; returns the log.
std::string deliver(Game& game, const std::vector<Message>& messages) {
    {
        std::lock_guard<std::mutex> lock(game.lobby.queue_mutex);
        for (const Message& message : messages) game.lobby.message_queue.push_back(message);
    }
    testing::internal::CaptureStdout();
    processMessages(game);
    return testing::internal::GetCapturedStdout();
}

Turret& addUnit(std::vector<Turret>& list, bool player, int lane, float hp) {
    list.emplace_back(player, lane);
    list.back().hp = hp;
    return list.back();
}

void enterNetworkGame(Game& game) {
    game.game_started = game.network_mode = game.lobby_active = true;
}
}  // namespace

TEST(ProtocolReceive, ShortUnknownAndInvalidMessagesChangeNothing) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.enemy_faction = 2;
    std::string log = deliver(game, {{},
                                     {1, 0, 4},        // handshake without its faction byte
                                     {3},              // faction without its byte
                                     {0}, {7, 1}, {9, 1, 2}, {12, 1}, {255},
                                     {5, 2, 1},        // unknown spawn source
                                     {11, 0},          // ready must carry 1
                                     {1, 0, 0, 5},     // faction 5 does not exist
                                     {3, 200},
                                     {5, 0, 3},        // lane 3 does not exist
                                     {2, 9},
                                     {8, 0, 3}});
    EXPECT_EQ(log,
              "Received msg type: 1\nReceived msg type: 3\nReceived msg type: 0\nReceived msg type: 7\n"
              "Received msg type: 9\nReceived msg type: 12\nReceived msg type: 255\nReceived msg type: 5\n"
              "Received msg type: 11\nReceived msg type: 1\nReceived msg type: 3\nReceived msg type: 5\n"
              "Received msg type: 2\nReceived msg type: 8\n");
    EXPECT_EQ(game.enemy_faction, 2);
    EXPECT_FALSE(game.opponent_ready);
    EXPECT_EQ(game.handshake_received, 0);
    EXPECT_EQ(game.faction_received, 0);
    EXPECT_TRUE(game.enemy_turrets.empty());
}

TEST(ProtocolReceive, FactionAnnouncementsCountOnlyFromTheOtherRole) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.lobby.is_host = true;
    std::string log = deliver(game, {{1, 0x12, 0x34, 3}, {3, 4}});
    EXPECT_EQ(game.handshake_value, 0x1234);
    EXPECT_EQ(game.handshake_received, 1);
    EXPECT_EQ(game.faction_received, 1);
    EXPECT_EQ(game.enemy_faction, 4);
    EXPECT_NE(log.find("Received handshake, enemy faction: 3\n"), std::string::npos);
    EXPECT_NE(log.find("Received faction, enemy faction: 4\n"), std::string::npos);
    EXPECT_TRUE(game.opponent_ready);  // the client's MsgFaction, not the handshake
    EXPECT_FALSE(game.level_running);  // the local faction is not confirmed yet

    game.opponent_ready = false;
    deliver(game, {{1, 0, 1, 2}});
    EXPECT_EQ(game.enemy_faction, 2);
    EXPECT_FALSE(game.opponent_ready);

    game.lobby.is_host = false;
    deliver(game, {{3, 1}});
    EXPECT_EQ(game.enemy_faction, 1);
    EXPECT_FALSE(game.opponent_ready);
    game.faction_confirmed = true;
    log = deliver(game, {{1, 0, 1, 0}});
    EXPECT_TRUE(game.opponent_ready);
    EXPECT_TRUE(game.level_running);
    EXPECT_NE(log.find("=== GAME START! ===\n"), std::string::npos);
}

TEST(ProtocolReceive, ReadyStartsTheMatchOnceTheFactionIsConfirmed) {
    GameFixture fixture;
    Game& game = *fixture.game;
    ManualClockSource clock;
    std::string log = deliver(game, {{11, 1}});
    EXPECT_EQ(log, "Received msg type: 11\nOpponent is ready!\n");
    EXPECT_TRUE(game.opponent_ready);
    EXPECT_FALSE(game.level_running);

    game.faction_confirmed = true;
    clock.advance(5);
    log = deliver(game, {{11, 1}});
    EXPECT_EQ(log, "Received msg type: 11\nOpponent is ready!\n=== GAME START! ===\n");
    EXPECT_TRUE(game.level_running);
    EXPECT_EQ(game.match_clock.elapsedSeconds(), 0.0f);
    EXPECT_EQ(game.income_clock.elapsedSeconds(), 0.0f);
}

// Both peers confirmed their factions and wait on the level selection: the frame update
// itself hears the peer's ready message and starts the match.
TEST(ProtocolReceive, WaitingNetworkGameHearsTheReadyExchange) {
    GameFixture fixture;
    Game& game = *fixture.game;
    enterNetworkGame(game);
    game.faction_confirmed = game.level_select_active = true;
    game.lobby.connected = true;
    {
        std::lock_guard<std::mutex> lock(game.lobby.queue_mutex);
        game.lobby.message_queue.push_back({11, 1});
    }
    testing::internal::CaptureStdout();
    update(game, 0.016f);
    std::string log = testing::internal::GetCapturedStdout();
    game.lobby.connected = false;
    EXPECT_TRUE(game.level_running);
    EXPECT_NE(log.find("=== GAME START! ===\n"), std::string::npos);
}

TEST(ProtocolReceive, MoneySyncAndTurretDeath) {
    GameFixture fixture;
    Game& game = *fixture.game;
    addUnit(game.player_turrets, true, 1, 0);
    addUnit(game.player_turrets, true, 1, 1);
    addUnit(game.player_turrets, true, 0, -1);
    addUnit(game.player_turrets, true, 1, -2);
    addUnit(game.enemy_turrets, false, 1, 0);
    std::string log = deliver(game, {{6, 17, 112, 99}, {8, 0, 1}});
    EXPECT_EQ(game.enemy_money, 4464.0f);
    EXPECT_NE(log.find("RECEIVED: Money sync - eMoney=4464\n"), std::string::npos);
    EXPECT_NE(log.find("RECEIVED: Turret death - lane=1\n"), std::string::npos);
    ASSERT_EQ(game.player_turrets.size(), 2u);
    EXPECT_EQ(game.player_turrets[0].hp, 1);  // the live unit of lane 1 stays, in order
    EXPECT_EQ(game.player_turrets[1].lane, 0);
    EXPECT_EQ(game.enemy_turrets.size(), 1u);
    deliver(game, {{8, 1, 1}});
    EXPECT_TRUE(game.enemy_turrets.empty());
}

TEST(ProtocolReceive, SpawnsAndPurchasesMirrorThePeer) {
    GameFixture fixture;
    Game& game = *fixture.game;
    enterNetworkGame(game);
    LoopbackPeer peer;
    ASSERT_TRUE(peer.acceptGameAsClient(game.lobby));
    game.enemy_money = 150;
    game.player_money = 1234;
    std::string log = deliver(game, {{5, 0, 0}, {5, 1, 2}, {10, 1}, {10, 2}, {10, 7}, {4, 4}});
    EXPECT_NE(log.find("RECEIVED: Enemy spawn (from player) at lane 0\n"), std::string::npos);
    EXPECT_NE(log.find("RECEIVED: Enemy spawn (from AI) at lane 2\n"), std::string::npos);
    ASSERT_EQ(game.enemy_turrets.size(), 2u);
    EXPECT_EQ(game.enemy_turrets[0].lane, 0);
    EXPECT_EQ(game.enemy_turrets[0].body.getPosition().y, game.enemy_spawn_y);
    EXPECT_EQ(game.enemy_turrets[1].lane, 2);
    // The peer paid for its units itself; the mirror pays 100 for one fire-rate level
    // and cannot afford range or the old-message income after that; kind 7 buys nothing.
    EXPECT_EQ(game.enemy_upgrades.levels[FireRate], 1);
    EXPECT_EQ(game.enemy_upgrades.levels[Range], 0);
    EXPECT_EQ(game.enemy_upgrades.levels[Income], 0);
    EXPECT_EQ(game.enemy_upgrades.laser_upgrades, 0);
    EXPECT_EQ(game.enemy_money, 50);
    EXPECT_NE(log.find("RECEIVED: Enemy upgrade type 7\n"), std::string::npos);
    // Every MsgUpgrade is answered with one money sync, bought or not.
    EXPECT_EQ(peer.receive(0.3), (std::vector<Message>{{6, 4, 210}, {6, 4, 210}, {6, 4, 210}}));
}

TEST(ProtocolSend, MoneySyncTravelsAsSixteenTruncatedBits) {
    GameFixture fixture;
    Game& game = *fixture.game;
    LoopbackPeer peer;
    ASSERT_TRUE(peer.acceptGameAsClient(game.lobby));
    game.player_money = 70000;
    sendMoneySync(game);  // not a network game: nothing goes out
    enterNetworkGame(game);
    sendMoneySync(game);
    game.player_money = 299.9f;
    sendMoneySync(game);
    EXPECT_EQ(peer.receive(0.3), (std::vector<Message>{{6, 17, 112}, {6, 1, 43}}));
}

TEST(ProtocolSend, FactionConfirmationAnnouncesReadyThenTheFaction) {
    for (bool as_host : {true, false}) {
        GameFixture fixture;
        Game& game = *fixture.game;
        LoopbackPeer peer;
        ASSERT_TRUE(as_host ? peer.connectToGameAsHost(game.lobby) : peer.acceptGameAsClient(game.lobby));
        enterNetworkGame(game);
        click(game, 160 + 195 * 3 + 90, 270 + 90);  // Purple
        click(game, 5, 5);
        std::vector<Message> sent = peer.receive(0.3);
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], (Message{11, 1}));
        if (as_host) {
            ASSERT_EQ(sent[1].size(), 4u);
            EXPECT_EQ(sent[1][0], 1);
            EXPECT_EQ(sent[1][3], 3);
        } else {
            EXPECT_EQ(sent[1], (Message{3, 3}));
        }
    }
}
