#include "net/net_support.h"

#include <gtest/gtest.h>
#include <list>

// These tests bind the game's fixed ports, so CTest runs them in a private network
// namespace of their own; every connection stays on 127.0.0.1.
namespace {
bool hostOnLoopback(LanLobby& host, LanLobby& client) {
    startHostThread(host);
    if (!waitUntil([&] { return host.listening.load(); }, 5)) return false;
    return connectToHost(client, {sf::IpAddress::LocalHost, host.listen_port});
}

struct Endpoints {
    LanLobby host;
    LanLobby client;
    Endpoints() {
        initLanLobby(host);
        initLanLobby(client);
    }
    ~Endpoints() {
        shutdownLanLobby(client);
        shutdownLanLobby(host);
    }
};

// Makes every port from 55003 up to, not including, `end` unavailable; a port an
// earlier test left in TIME_WAIT is unavailable already.
std::list<sf::TcpListener> takePorts(unsigned short end) {
    std::list<sf::TcpListener> taken;
    for (unsigned short port = 55003; port < end; ++port) {
        taken.emplace_back();
        taken.back().listen(port, sf::IpAddress::LocalHost);
    }
    return taken;
}

void sendRaw(sf::TcpSocket& socket, const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    ASSERT_EQ(socket.send(bytes.data(), bytes.size(), sent), sf::Socket::Done);
}
}  // namespace

TEST(LanHostNetns, HostAndClientExchangeWholeMessagesInOrder) {
    Endpoints link;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(hostOnLoopback(link.host, link.client));
    ASSERT_TRUE(waitUntil([&] { return link.host.connected && !link.host.hosting; }, 5));
    EXPECT_TRUE(link.host.is_host);
    EXPECT_FALSE(link.client.is_host);

    // Two packets in one write with an empty packet between them; then a packet whose
    // header and payload arrive 50 ms apart.
    sendRaw(*link.client.client_socket, {0, 0, 0, 3, 5, 0, 2, 0, 0, 0, 0, 0, 0, 0, 3, 6, 1, 43, 0, 0});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    sendRaw(*link.client.client_socket, {0, 2, 11, 1});
    ASSERT_TRUE(waitUntil([&] { return queuedMessages(link.host).size() == 3; }, 2));
    EXPECT_EQ(queuedMessages(link.host), (std::vector<Message>{{5, 0, 2}, {6, 1, 43}, {11, 1}}));

    sf::Packet reply;
    reply << sf::Uint8(3) << sf::Uint8(4);
    ASSERT_EQ(link.host.host_socket->send(reply), sf::Socket::Done);
    ASSERT_TRUE(waitUntil([&] { return queuedMessages(link.client).size() == 1; }, 2));
    EXPECT_EQ(queuedMessages(link.client)[0], (Message{3, 4}));

    // One client only: the listener closed after the accept.
    LanLobby late;
    initLanLobby(late);
    EXPECT_FALSE(connectToHost(late, {sf::IpAddress::LocalHost, link.host.listen_port}));
    shutdownLanLobby(late);

    shutdownLanLobby(link.client);
    ASSERT_TRUE(waitUntil([&] { return !link.host.connected; }, 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("TCP服务器监听端口 55003\n等待客户端连接...\n"), std::string::npos);
    EXPECT_NE(log.find("连接至 127.0.0.1:55003\n"), std::string::npos);
    EXPECT_NE(log.find("客户端已连接\n"), std::string::npos);
    EXPECT_NE(log.find("已连接到服务器\n"), std::string::npos);
    EXPECT_NE(log.find("连接失败\n"), std::string::npos);
    EXPECT_EQ(countOf(log, "连接已断开\n"), 1u);
}

// HOST again after the host thread ended, and a second connect, reuse the thread slots.
TEST(LanHostNetns, HostingAndJoiningAgainReuseTheThreadSlots) {
    Endpoints link;
    startHostThread(link.host);
    ASSERT_TRUE(waitUntil([&] { return link.host.listening.load(); }, 5));
    sf::TcpSocket peer;
    ASSERT_EQ(peer.connect(sf::IpAddress::LocalHost, link.host.listen_port), sf::Socket::Done);
    ASSERT_TRUE(waitUntil([&] { return link.host.connected.load(); }, 5));
    peer.disconnect();
    ASSERT_TRUE(waitUntil([&] { return !link.host.connected; }, 2));

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(hostOnLoopback(link.host, link.client)) << round;
        ASSERT_TRUE(waitUntil([&] { return link.host.connected.load(); }, 5));
        shutdownLanLobby(link.host);  // the client loses its host
        ASSERT_TRUE(waitUntil([&] { return !link.client.connected; }, 2));
        initLanLobby(link.host);
    }
}

TEST(LanHostNetns, HostTakesTheFirstFreePortUpTo55023) {
    Endpoints link;
    std::list<sf::TcpListener> taken = takePorts(55023);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(hostOnLoopback(link.host, link.client));
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(link.host.listen_port, 55023);
    EXPECT_NE(log.find("TCP服务器监听端口 55023\n"), std::string::npos);
}

TEST(LanHostNetns, NoFreePortEndsHostingOnceAndHostCanBePressedAgain) {
    Endpoints link;
    std::list<sf::TcpListener> taken = takePorts(55024);
    testing::internal::CaptureStdout();
    startHostThread(link.host);
    ASSERT_TRUE(waitUntil([&] { return !link.host.hosting; }, 5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(countOf(log, "无法绑定TCP端口\n"), 1u);
    EXPECT_FALSE(link.host.listening);

    taken.back().close();  // 55023 frees up
    ASSERT_TRUE(hostOnLoopback(link.host, link.client));
    EXPECT_EQ(link.host.listen_port, 55023);
}

TEST(LanHostNetns, OversizedPacketDisconnectsThePeer) {
    Endpoints link;
    ASSERT_TRUE(hostOnLoopback(link.host, link.client));
    ASSERT_TRUE(waitUntil([&] { return link.host.connected.load(); }, 5));
    testing::internal::CaptureStdout();
    sendRaw(*link.client.client_socket, {0x7F, 0xFF, 0xFF, 0xFF, 1, 2, 3});
    ASSERT_TRUE(waitUntil([&] { return !link.host.connected; }, 2));
    ASSERT_TRUE(waitUntil([&] { return !link.client.connected; }, 2));  // the sender sees the end
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("Socket错误\n"), std::string::npos);
    EXPECT_TRUE(queuedMessages(link.host).empty());
}
