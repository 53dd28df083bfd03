#include "app/game_process.h"
#include "net/net_support.h"

#include <gtest/gtest.h>

// HOST, Esc, HOST again in the real game: the first host's port is free again and the
// trip leaves no thread behind. Hosting broadcasts, so CTest runs this in a namespace.
TEST(LanBackNetns, HostEscAndHostAgainOnTheSamePort) {
    REQUIRE_PRIVATE_NETWORK();
    TempDir dir;
    GameProcess game(dir.path());
    ASSERT_TRUE(game.waitForWindow(15)) << game.output();

    game.click(640, 440);  // network
    int idle_threads = game.threadCount();
    ASSERT_GT(idle_threads, 0);
    game.click(300, 460);  // HOST
    ASSERT_TRUE(game.waitForOutput("TCP服务器监听端口 55003\n", 5)) << game.output();
    EXPECT_GT(game.threadCount(), idle_threads);  // the host thread and the beacon

    game.key("Escape");  // the main menu
    EXPECT_TRUE(waitUntil([&] { return game.threadCount() == idle_threads; }, 2, 50)) << game.threadCount();
    game.click(640, 440);
    game.click(300, 460);
    EXPECT_TRUE(waitUntil([&] { return countOf(game.output(), "TCP服务器监听端口 55003\n") == 2; }, 5, 100))
        << game.output();

    game.requestClose();
    EXPECT_EQ(game.waitForExit(5), 0) << game.output();
}
