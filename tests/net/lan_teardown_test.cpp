#include "app/loop.h"
#include "net/net_support.h"
#include "support.h"

#include <gtest/gtest.h>

// Closing the window must end every network thread at once, whatever it waits for: a
// client while hosting, the beacons while scanning, or the peer while connected.
// Hosting and scanning broadcast, so CTest runs this in a private network namespace.
TEST(LanTeardownNetns, ClosingTheWindowEndsEveryNetworkThreadAtOnce) {
    REQUIRE_PRIVATE_NETWORK();
    for (const char* scene : {"hosting", "scanning", "connected"}) {
        GameFixture fixture;
        LanLobby& lobby = fixture.game->lobby;
        sf::TcpSocket peer;
        if (scene == std::string("scanning")) {
            startScan(*fixture.game);
        } else {
            startHosting(*fixture.game);
            ASSERT_TRUE(waitUntil([&] { return lobby.listening.load(); }, 5));
        }
        if (scene == std::string("connected")) {
            ASSERT_EQ(peer.connect(sf::IpAddress::LocalHost, lobby.listen_port), sf::Socket::Done);
            ASSERT_TRUE(waitUntil([&] { return lobby.connected.load(); }, 5));
        } else {
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
        char byte;
        std::size_t received = 0;
        EXPECT_TRUE(!peer.getLocalPort() || peer.receive(&byte, 1, received) == sf::Socket::Disconnected);
    }
}
