#include "app/game_process.h"
#include "net/net_support.h"

#include <SFML/Graphics/Image.hpp>

// Two copies of the game inside one private network namespace (CTest builds it) find
// each other, connect, pick factions and start the match by the ready exchange.
namespace {
// Reddish pixels (the Red art is drawn in thin red lines) in lane 0's column of the window.
int redPixelsInLaneZero(const GameProcess& game, const std::string& png) {
    runCommand("xdotool windowraise " + game.windowId() + " sleep 0.3; import -window " + game.windowId() + " " + png);
    sf::Image shot;
    if (!shot.loadFromFile(png)) return -1;
    int count = 0;
    for (unsigned y = 0; y < shot.getSize().y; ++y)
        for (unsigned x = 545; x < 595 && x < shot.getSize().x; ++x) {
            sf::Color pixel = shot.getPixel(x, y);
            if (pixel.r >= 120 && pixel.r > pixel.g + 60 && pixel.r > pixel.b + 50) ++count;
        }
    return count;
}
}  // namespace

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

    // The joining player looks at the top of the field, where the enemy comes from.
    runCommand("xdotool windowraise " + join.windowId() + " mousemove --window " + join.windowId() +
               " 640 360 click --repeat 5 --delay 50 4");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // The enemy base's red outline crosses the column too; the unit adds to it.
    int before = redPixelsInLaneZero(join, join_dir.path() + "/before.png");
    ASSERT_GE(before, 0);  // the picture was taken

    host.key("q");
    ASSERT_TRUE(join.waitForOutput("RECEIVED: Enemy spawn (from player) at lane 0\n", 5)) << join.output();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_GT(redPixelsInLaneZero(join, join_dir.path() + "/after.png"), before + 50);

    host.requestClose();
    EXPECT_EQ(host.waitForExit(5), 0) << host.output();
    EXPECT_TRUE(join.waitForOutput("连接已断开\n", 5)) << join.output();
    join.requestClose();
    EXPECT_EQ(join.waitForExit(5), 0) << join.output();
}
