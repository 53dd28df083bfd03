#include "app/game_process.h"
#include "net/net_support.h"

namespace {
// How the joining game finds the host: by discovery, by --host and --join on the command
// line, or by the host's --host and the address typed into the lobby's field.
enum class Meeting { Discovery, CommandLine, TypedAddress };

// Both games in the lobby, the joining one connected to the host as they met.
void connect(GameProcess& host, GameProcess& join, Meeting meeting) {
    if (meeting == Meeting::Discovery) {
        host.click(640, 440);  // network
        host.click(300, 460);  // HOST
    }
    ASSERT_TRUE(host.waitForOutput("等待客户端连接...\n", 5)) << host.output();
    if (meeting == Meeting::Discovery) {
        join.click(640, 440);
        join.click(600, 460);  // JOIN
        ASSERT_TRUE(join.waitForOutput("发现主机: 10.77.0.1:55003\n", 8)) << join.output();
        join.click(450, 210);  // the first row
        ASSERT_TRUE(join.waitForOutput("已连接到服务器\n", 5)) << join.output();
    } else {
        if (meeting == Meeting::TypedAddress) {
            join.click(640, 440);  // network
            join.click(350, 550);  // the address field
            join.type("10.77.0.1");
            join.click(610, 550);  // connect
        }
        ASSERT_TRUE(join.waitForOutput("连接至 10.77.0.1:55003\n已连接到服务器\n", 8))
            << join.output() << host.output();
    }
    ASSERT_TRUE(host.waitForOutput("客户端已连接\n", 5)) << host.output();
}

// The host's window, then the joining game's (started once the host's is known, so each
// takes its own), the lobby, Red for the host and the given faction card for the joining
// game, and the match started by the ready exchange.
void startNetworkMatch(GameProcess& host, std::unique_ptr<GameProcess>& joining, const std::string& join_dir,
                       const std::string& join_command, int join_card, const std::string& join_faction,
                       Meeting meeting = Meeting::Discovery) {
    ASSERT_TRUE(host.waitForWindow(30)) << host.output();
    joining = std::make_unique<GameProcess>(
        join_dir, join_command + (meeting == Meeting::CommandLine ? " --join 10.77.0.1" : ""));
    GameProcess& join = *joining;
    ASSERT_TRUE(join.waitForWindow(30)) << join.output();
    ASSERT_NO_FATAL_FAILURE(connect(host, join, meeting));
    ASSERT_NO_FATAL_FAILURE(pickFaction(host, 0, "Red"));
    ASSERT_NO_FATAL_FAILURE(pickFaction(join, join_card, join_faction));
    for (GameProcess* game : {&host, &join})
        ASSERT_TRUE(game->waitForOutput("=== GAME START! ===\n", 5)) << game->output();
}

// Each game plays its own units fast and hard-hitting and the opponent's slow (the host's
// battle is the one that counts), with little money, so a base charge outruns the income:
// the host's units break the joining game's base while its one unit is still crawling.
const char* const kQuickNetworkConfig = R"({
    "turret": {"player": {"red": {"move_speed": 300, "damage": 20}}, "enemy": {"red": {"move_speed": 10}}},
    "gameplay": {"player_start_money": 40, "enemy_start_money": 40}})";

// A network match between the Linux build and the Windows build under Wine: spawns go
// both ways, the joining game follows the host's snapshots to the end, and both screens
// name the host the winner. The Windows build hosts by --host and is joined by the address
// typed into the Linux build's lobby, which is killed mid-match and comes back to it; the
// Linux build hosts the Windows build by discovery.
void playCrossPlatformMatch(const std::string& host_command, const std::string& join_command, Meeting meeting) {
    SCOPED_TRACE(meeting == Meeting::Discovery ? "the Linux build hosts" : "the Windows build hosts");
    stopWineServerOfPrivateNetwork();
    TempDir host_dir({{"config.json", kQuickNetworkConfig}}), join_dir({{"config.json", kQuickNetworkConfig}});
    GameProcess host(host_dir.path(), host_command + (meeting == Meeting::Discovery ? "" : " --host"));
    std::unique_ptr<GameProcess> joining;
    ASSERT_NO_FATAL_FAILURE(startNetworkMatch(host, joining, join_dir.path(), join_command, 0, "Red", meeting));
    GameProcess& join = *joining;

    join.key("q");
    ASSERT_TRUE(host.waitForOutput("RECEIVED: Enemy spawn (from player) at lane 0\n", 5)) << host.output();
    for (const char* lane_key : {"q", "w", "e"}) host.key(lane_key);
    ASSERT_TRUE(join.waitForOutput("RECEIVED: Enemy spawn (from player) at lane 2\n", 5)) << join.output();
    if (meeting == Meeting::TypedAddress) {
        // The joining game dies mid-match; started again with --join, it is back in the
        // same match, which the host held for it.
        ASSERT_TRUE(join.waitForOutput("Received msg type: 23\n", 5)) << join.output();  // the match's token
        joining.reset();
        ASSERT_TRUE(host.waitForOutput("⚠️ 连接中断，等待对手重新连接\n", 5)) << host.output();
        joining = std::make_unique<GameProcess>(join_dir.path(), join_command + " --join 10.77.0.1");
        ASSERT_TRUE(joining->waitForWindow(30)) << joining->output();
        for (GameProcess* game : {&host, joining.get()})
            ASSERT_TRUE(game->waitForOutput("✅ 对手已重新连接，对局继续\n", 10)) << game->output();
    }
    GameProcess& playing = *joining;
    // The joining game ends its match only on the host's snapshot that says so.
    for (GameProcess* game : {&host, &playing})
        ASSERT_TRUE(game->waitForOutput("游戏结束，显示结算画面\n", 30)) << game->output();
    EXPECT_EQ(host.resultShown(), "victory");
    EXPECT_EQ(playing.resultShown(), "defeat");

    playing.requestClose();
    EXPECT_EQ(playing.waitForExit(10), 0) << playing.output();
    host.requestClose();
    EXPECT_EQ(host.waitForExit(10), 0) << host.output();
}
}  // namespace

// Two games in one private network find each other, connect, pick factions, start by the ready exchange,
// and the joining game hears the host's spawn (how it shows it is the BattleSync and drawing tests' concern).
TEST(LanPlayNetns, HostAndJoinPlayOneMatch) {
    REQUIRE_PRIVATE_NETWORK();
    TempDir host_dir, join_dir;
    GameProcess host(host_dir.path());
    std::unique_ptr<GameProcess> joining;
    ASSERT_NO_FATAL_FAILURE(startNetworkMatch(host, joining, join_dir.path(), defaultGameCommand(), 2, "Blue"));
    GameProcess& join = *joining;

    host.key("q");
    ASSERT_TRUE(join.waitForOutput("RECEIVED: Enemy spawn (from player) at lane 0\n", 5)) << join.output();

    host.requestClose();
    EXPECT_EQ(host.waitForExit(5), 0) << host.output();
    EXPECT_TRUE(join.waitForOutput("连接已断开\n", 5)) << join.output();
    join.requestClose();
    EXPECT_EQ(join.waitForExit(5), 0) << join.output();
}

// The host started with --host, the joining game with --join; their config.json differ: both say so, and
// the joining game plays by the host's, with its 300 rather than its own 1000.
TEST(LanPlayNetns, PlaysByAddressFromTheCommandLineByTheHostsRules) {
    REQUIRE_PRIVATE_NETWORK();
    TempDir host_dir({{"config.json", R"({"gameplay": {"player_start_money": 300, "enemy_start_money": 300}})"}});
    TempDir join_dir;
    GameProcess host(host_dir.path(), linuxGameCommand() + " --host");
    std::unique_ptr<GameProcess> joining;
    ASSERT_NO_FATAL_FAILURE(
        startNetworkMatch(host, joining, join_dir.path(), linuxGameCommand(), 2, "Blue", Meeting::CommandLine));
    GameProcess& join = *joining;
    for (GameProcess* game : {&host, &join})
        EXPECT_TRUE(game->waitForOutput("⚠️ 双方规则不同，本局使用主机的规则\n", 5)) << game->output();
    EXPECT_TRUE(join.waitForOutput("✅ 已载入主机的规则\n", 5)) << join.output();
    join.key("w");
    EXPECT_TRUE(host.waitForOutput("RECEIVED: Enemy spawn (from player) at lane 1\n", 5)) << host.output();
    EXPECT_TRUE(host.waitForOutput("RECEIVED: Money sync - eMoney=250\n", 5)) << host.output();
}

TEST(CrossPlatformNetns, EachBuildHostsTheOther) {
    REQUIRE_PRIVATE_NETWORK();
    if (windowsGameCommand().empty()) GTEST_SKIP() << "TARVEX_WINDOWS_EXE and WINEPREFIX name no Windows build";
    playCrossPlatformMatch(windowsGameCommand(), linuxGameCommand(), Meeting::TypedAddress);
    playCrossPlatformMatch(linuxGameCommand(), windowsGameCommand(), Meeting::Discovery);
}
