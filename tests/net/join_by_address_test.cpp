#include "app/screen.h"
#include "net/join.h"
#include "net/net_support.h"

// Joining by address with real games and sockets inside the private network, where the
// host is 10.77.0.1 and nothing answers for 10.77.0.3. The joining game is stepped frame
// by frame throughout: the lobby must never stand still while a connect is under way.
namespace {
struct Attempt {
    double seconds = 0;          // until the lobby said how it went
    double longest_frame = 0;    // seconds
    std::string log;
};

struct JoinByAddressNetns : testing::Test {
    GameFixture host_fixture, joiner_fixture;
    Game& host = *host_fixture.game;
    Game& joiner = *joiner_fixture.game;

    void SetUp() override {
        REQUIRE_PRIVATE_NETWORK();
        enterNetworkGame(joiner);
    }

    Attempt join(const std::string& text) {
        Attempt attempt;
        auto start = std::chrono::steady_clock::now();
        attempt.log = stdoutOf([&] {
            joinByAddress(joiner.lobby, text);
            do {
                auto frame = std::chrono::steady_clock::now();
                update(joiner, 1.0f / 60);
                attempt.longest_frame = std::max(attempt.longest_frame, secondsSince(frame));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            } while (joiner.lobby.connect_line.key == "join.connecting" && secondsSince(start) < 20);
        });
        attempt.seconds = secondsSince(start);
        return attempt;
    }
};
}  // namespace

TEST_F(JoinByAddressNetns, JoinsByIPv4AndByNameAndRemembersTheAddress) {
    enterNetworkGame(host);
    ASSERT_TRUE(hostAndListen(host.lobby));
    joiner.lobby.memory.kept = true;
    joiner.lobby.memory.file = netMemoryFilePath();
    Attempt by_ipv4 = join("10.77.0.1");
    ASSERT_TRUE(joiner.lobby.connected) << by_ipv4.log;
    // The host's lines come in between: both games log to this one output.
    EXPECT_LT(by_ipv4.log.find("连接至 10.77.0.1:55003\n"), by_ipv4.log.find("已连接到服务器\n")) << by_ipv4.log;
    EXPECT_TRUE(waitUntil([&] { return bool(host.lobby.connected); }, 5));
    EXPECT_EQ(currentScreen(joiner), Screen::FactionSelect);
    EXPECT_EQ(chineseText(joiner.lobby.connect_line), "");
    EXPECT_NE(fileContents(joiner.lobby.memory.file).find("\"last_address\": \"10.77.0.1\""), std::string::npos);

    // Both leave; the host hosts again on another port, joined by name and port.
    stopNetworking(host.lobby);
    stopNetworking(joiner.lobby);
    host.lobby.base_port = 55010;
    ASSERT_TRUE(hostAndListen(host.lobby));
    Attempt by_name = join("localhost:55010");
    ASSERT_TRUE(joiner.lobby.connected) << by_name.log;
    EXPECT_TRUE(waitUntil([&] { return bool(host.lobby.connected); }, 5));
    EXPECT_EQ(joiner.lobby.address_text, "localhost:55010");
    EXPECT_NE(fileContents(joiner.lobby.memory.file).find("\"last_address\": \"localhost:55010\""), std::string::npos);
}

TEST_F(JoinByAddressNetns, SaysWhichOfTheThreeFailedAndTheLobbyStaysLive) {
    sf::TcpListener closed;  // a port the system picked and nobody listens on any more
    ASSERT_EQ(closed.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost), sf::Socket::Status::Done);
    std::string refused_port = std::to_string(closed.getLocalPort());
    closed.close();

    const std::tuple<std::string, std::string, double, double> cases[] = {  // typed, line, seconds at least and at most
        {"no-such-host.invalid", "找不到主机 no-such-host.invalid", 0, 5},
        {"127.0.0.1:" + refused_port, "连接被拒绝 127.0.0.1:" + refused_port + "：那里没有主机在等待", 0, 1},
        {"10.77.0.3", "连接超时 10.77.0.3:55003：没有应答", 1, 5.5},
        {"10.77.0.1:99999", "地址格式不对，应为 主机[:端口]", 0, 0.5},
    };
    for (const auto& [typed, line, at_least, at_most] : cases) {
        Attempt attempt = join(typed);
        EXPECT_EQ(chineseText(joiner.lobby.connect_line), line) << typed;
        EXPECT_TRUE(joiner.lobby.connect_failed) << typed;
        EXPECT_NE(attempt.log.find("❌ " + line + "\n"), std::string::npos) << attempt.log;
        EXPECT_GE(attempt.seconds, at_least) << typed;
        EXPECT_LE(attempt.seconds, at_most) << typed;
        EXPECT_LT(attempt.longest_frame, 0.1) << typed;
        EXPECT_FALSE(joiner.lobby.connected);
        EXPECT_EQ(currentScreen(joiner), Screen::Lobby);
    }
    // After every failure the lobby still hosts.
    ASSERT_TRUE(hostAndListen(joiner.lobby));
}

TEST_F(JoinByAddressNetns, LeavingTheLobbyGivesUpAConnectAtOnce) {
    ASSERT_TRUE(joinByAddress(joiner.lobby, "10.77.0.3"));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    auto start = std::chrono::steady_clock::now();
    stopNetworking(joiner.lobby);
    EXPECT_LT(secondsSince(start), 0.5);
    EXPECT_EQ(joiner.lobby.dial_outcome, DialOutcome::Idle);
    EXPECT_EQ(chineseText(joiner.lobby.connect_line), "");
}
