#include "app/game_process.h"
#include "net/net_support.h"

// Two copies of the game inside one private network namespace (CTest builds it) find
// each other, connect, pick factions, start the match by the ready exchange, and the joining
// game hears the host's spawn; how it shows the unit is the BattleSync and drawing tests' concern.
TEST(LanPlayNetns, HostAndJoinPlayOneMatch) {
    REQUIRE_PRIVATE_NETWORK();
    TempDir host_dir, join_dir;
    GameProcess host(host_dir.path());
    ASSERT_TRUE(host.waitForWindow(15)) << host.output();
    // Started once the host's window is known, so each takes its own window.
    GameProcess join(join_dir.path());
    ASSERT_TRUE(join.waitForWindow(15)) << join.output();

    host.click(640, 440);  // network
    host.click(300, 460);  // HOST
    ASSERT_TRUE(host.waitForOutput("等待客户端连接...\n", 5)) << host.output();
    join.click(640, 440);
    join.click(600, 460);  // JOIN
    ASSERT_TRUE(join.waitForOutput("发现主机: 10.77.0.1:55003\n", 8)) << join.output();
    join.click(450, 210);  // the first row
    ASSERT_TRUE(join.waitForOutput("已连接到服务器\n", 5)) << join.output();
    ASSERT_TRUE(host.waitForOutput("客户端已连接\n", 5)) << host.output();

    pickFaction(host, 0, "Red");
    pickFaction(join, 2, "Blue");
    for (GameProcess* game : {&host, &join})
        ASSERT_TRUE(game->waitForOutput("=== GAME START! ===\n", 5)) << game->output();

    host.key("q");
    ASSERT_TRUE(join.waitForOutput("RECEIVED: Enemy spawn (from player) at lane 0\n", 5)) << join.output();

    host.requestClose();
    EXPECT_EQ(host.waitForExit(5), 0) << host.output();
    EXPECT_TRUE(join.waitForOutput("连接已断开\n", 5)) << join.output();
    join.requestClose();
    EXPECT_EQ(join.waitForExit(5), 0) << join.output();
}
