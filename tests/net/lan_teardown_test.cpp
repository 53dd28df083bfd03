#include "app/loop.h"
#include "net/net_support.h"
#include "support.h"

#include <gtest/gtest.h>

// Closing the window must end every network thread at once, whatever it waits for.
// Hosting and scanning broadcast, so CTest runs these in a private network namespace.
namespace {
double secondsToCloseAndDestroy(GameFixture& fixture) {
    auto start = std::chrono::steady_clock::now();
    sf::Event closed;
    closed.type = sf::Event::Closed;
    handleEvent(*fixture.game, closed);
    run(*fixture.game);
    fixture.game.reset();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

TEST(LanTeardownNetns, ClosingWhileHostingWithoutClient) {
    REQUIRE_PRIVATE_NETWORK();
    GameFixture fixture;
    startHosting(*fixture.game);
    ASSERT_TRUE(waitUntil([&] { return fixture.game->lobby.listening.load(); }, 5));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the beacon sleeps between sends
    EXPECT_LT(secondsToCloseAndDestroy(fixture), 1.0);
}

TEST(LanTeardownNetns, ClosingWhileScanning) {
    REQUIRE_PRIVATE_NETWORK();
    GameFixture fixture;
    startScan(*fixture.game);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(fixture.game->lobby.scanning);
    EXPECT_LT(secondsToCloseAndDestroy(fixture), 1.0);
}

TEST(LanTeardownNetns, ClosingWhileConnected) {
    REQUIRE_PRIVATE_NETWORK();
    GameFixture fixture;
    LanLobby& lobby = fixture.game->lobby;
    startHosting(*fixture.game);
    ASSERT_TRUE(waitUntil([&] { return lobby.listening.load(); }, 5));
    sf::TcpSocket peer;
    ASSERT_EQ(peer.connect(sf::IpAddress::LocalHost, lobby.listen_port), sf::Socket::Done);
    ASSERT_TRUE(waitUntil([&] { return lobby.connected.load(); }, 5));
    EXPECT_LT(secondsToCloseAndDestroy(fixture), 1.0);
    char byte;
    std::size_t received = 0;
    EXPECT_EQ(peer.receive(&byte, 1, received), sf::Socket::Disconnected);
}
