#include "app/loop.h"
#include "net/net_support.h"
#include "support.h"

#include <gtest/gtest.h>

namespace {
// Brings the lobby into the scene: hosting (waiting for a client), scanning, or hosting
// with `peer` connected as its client.
void enterScene(Game& game, sf::TcpSocket& peer, const std::string& scene) {
    LanLobby& lobby = game.lobby;
    if (scene == "scanning") {
        startScan(game);
        return;
    }
    startHosting(game);
    ASSERT_TRUE(waitUntil([&] { return lobby.listening.load(); }, 5));
    if (scene != "connected") return;
    ASSERT_EQ(peer.connect(sf::IpAddress::LocalHost, lobby.listen_port), sf::Socket::Done);
    ASSERT_TRUE(waitUntil([&] { return lobby.connected.load(); }, 5));
}

// The peer sees the connection closed (or was never connected).
bool peerSeesItClosed(sf::TcpSocket& peer) {
    char byte;
    std::size_t received = 0;
    return !peer.getLocalPort() || peer.receive(&byte, 1, received) == sf::Socket::Disconnected;
}
}  // namespace

// Closing the window must end every network thread at once, whatever it waits for: a
// client while hosting, the beacons while scanning, or the peer while connected.
// Hosting and scanning broadcast, so CTest runs this in a private network namespace.
TEST(LanTeardownNetns, ClosingTheWindowEndsEveryNetworkThreadAtOnce) {
    REQUIRE_PRIVATE_NETWORK();
    for (const char* scene : {"hosting", "scanning", "connected"}) {
        GameFixture fixture;
        LanLobby& lobby = fixture.game->lobby;
        sf::TcpSocket peer;
        enterScene(*fixture.game, peer, scene);
        if (testing::Test::HasFatalFailure()) return;
        if (scene != std::string("connected")) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the beacon sleeps between sends
            EXPECT_TRUE(lobby.hosting || lobby.scanning) << scene;
        }
        auto start = std::chrono::steady_clock::now();
        sf::Event closed;
        closed.type = sf::Event::Closed;
        handleEvent(*fixture.game, closed);
        run(*fixture.game);
        fixture.game.reset();
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0) << scene;
        EXPECT_TRUE(peerSeesItClosed(peer)) << scene;
    }
}

// Esc out of the lobby stops the network as closing the window would, but the lobby
// stays usable: HOST works again, on the very port it had when no client came. (A
// connection the host closed keeps its port in the system's TIME_WAIT for a while; the
// port search then takes the next one.)
TEST(LanTeardownNetns, StoppingTheNetworkFreesThePortAndLeavesNoThread) {
    REQUIRE_PRIVATE_NETWORK();
    for (const char* scene : {"hosting", "scanning", "connected"}) {
        GameFixture fixture;
        LanLobby& lobby = fixture.game->lobby;
        sf::TcpSocket peer;
        enterScene(*fixture.game, peer, scene);
        if (testing::Test::HasFatalFailure()) return;
        unsigned short first_port = lobby.listen_port;
        lobby.found_hosts = {{sf::IpAddress::LocalHost, 55003}};
        auto start = std::chrono::steady_clock::now();
        stopNetworking(lobby);
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0) << scene;
        for (std::thread* slot : {&lobby.host_thread, &lobby.receive_thread, &lobby.scan_thread, &lobby.announce_thread})
            EXPECT_FALSE(slot->joinable()) << scene;
        EXPECT_FALSE(lobby.connected || lobby.hosting || lobby.listening || lobby.scanning || lobby.is_host) << scene;
        EXPECT_TRUE(lobby.threads_running) << scene;
        EXPECT_TRUE(lobby.found_hosts.empty()) << scene;
        EXPECT_TRUE(peerSeesItClosed(peer)) << scene;

        stdoutOf([&] {
            startHosting(lobby);
            EXPECT_TRUE(waitUntil([&] { return lobby.listening.load(); }, 5)) << scene;
        });
        if (scene == std::string("hosting")) {
            EXPECT_EQ(lobby.listen_port, first_port);
        }
    }
}
