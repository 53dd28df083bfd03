#include "events.h"
#include "net/net_support.h"

// Closing the window ends every network thread at once, whatever it waits for: a client while hosting,
// the beacons while scanning, or the peer while connected. Esc does so too and HOST then works again,
// on the same port if no client came (a closed connection holds its port in TIME_WAIT).
TEST(LanTeardownNetns, ClosingTheWindowOrLeavingTheLobbyEndsEveryNetworkThreadAtOnce) {
    REQUIRE_PRIVATE_NETWORK();
    for (bool close_window : {true, false})
        for (std::string scene : {"hosting", "scanning", "connected"}) {
            SCOPED_TRACE(scene + (close_window ? ", window closed" : ", Esc pressed"));
            GameFixture fixture;
            enterNetworkGame(*fixture.game);
            LanLobby& lobby = fixture.game->lobby;
            sf::TcpSocket peer;  // the client, in the connected scene
            if (scene == "scanning") startScan(lobby);
            ASSERT_TRUE(scene == "scanning" || hostAndListen(lobby));
            if (scene == "connected") {
                ASSERT_EQ(peer.connect(sf::IpAddress::LocalHost, lobby.listen_port), sf::Socket::Status::Done);
                ASSERT_TRUE(waitUntil([&] { return lobby.connected.load(); }, 5));
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the beacon sleeps between sends
                EXPECT_TRUE(lobby.hosting || lobby.scanning);
            }
            unsigned short first_port = lobby.listen_port;
            lobby.found_hosts = {{sf::IpAddress::LocalHost, 55003}};
            auto start = std::chrono::steady_clock::now();
            if (close_window) {
                sendEvent(*fixture.game, InputEvent::Kind::Closed, {});
                run(*fixture.game);
                fixture.game.reset();
            } else {
                keyPress(*fixture.game, sf::Keyboard::Key::Escape);
            }
            EXPECT_LT(secondsSince(start), 1.0);
            sf::Packet nothing;  // the peer, if any, sees the connection closed
            EXPECT_TRUE(!peer.getLocalPort() || peer.receive(nothing) == sf::Socket::Status::Disconnected);
            if (close_window) continue;

            for (std::thread* slot : {&lobby.host_thread, &lobby.receive_thread, &lobby.scan_thread, &lobby.announce_thread})
                EXPECT_FALSE(slot->joinable());
            EXPECT_FALSE(lobby.connected || lobby.hosting || lobby.listening || lobby.scanning || lobby.is_host);
            EXPECT_TRUE(lobby.threads_running && lobby.found_hosts.empty());
            stdoutOf([&] { EXPECT_TRUE(hostAndListen(lobby)); });
            if (scene == "hosting") { EXPECT_EQ(lobby.listen_port, first_port); }
        }
}
