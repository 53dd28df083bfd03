#include "net/native_socket.h"
#include "net/net_support.h"

#include <list>

// These tests bind the game's fixed ports, so CTest gives them a network namespace of their own.
namespace {
struct Endpoints {
    OwnLobby host, client;
    bool connect() {
        startHostThread(host);
        return waitUntil([&] { return host.listening.load(); }, 5) &&
               connectToHost(client, {sf::IpAddress::LocalHost, host.listen_port}) &&
               waitUntil([&] { return host.connected.load(); }, 5);
    }
};
}  // namespace

TEST(LanHostNetns, HostAndClientExchangeWholeMessagesInOrderAndAnOversizedOneEndsTheLink) {
    Endpoints link;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(link.connect());
    ASSERT_TRUE(waitUntil([&] { return !link.host.hosting; }, 5));
    EXPECT_TRUE(link.host.is_host && !link.client.is_host);

    // Two packets in one write with an empty packet between them; then a packet whose
    // header and payload arrive 50 ms apart.
    sendRaw(*link.client.client_socket, {0, 0, 0, 3, 5, 0, 2, 0, 0, 0, 0, 0, 0, 0, 3, 6, 1, 43, 0, 0});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    sendRaw(*link.client.client_socket, {0, 2, 11, 1});
    ASSERT_TRUE(waitUntil([&] { return queued(link.host).size() == 3; }, 2));
    EXPECT_EQ(queued(link.host), (std::vector<Message>{{5, 0, 2}, {6, 1, 43}, {11, 1}}));
    sendRaw(*link.host.host_socket, {0, 0, 0, 2, 3, 4});
    ASSERT_TRUE(waitUntil([&] { return queued(link.client).size() == 1; }, 2));
    EXPECT_EQ(queued(link.client)[0], (Message{3, 4}));

    OwnLobby late;  // one client only: the listener closed after the accept
    EXPECT_FALSE(connectToHost(late, {sf::IpAddress::LocalHost, link.host.listen_port}));
    shutdownLanLobby(link.client);
    ASSERT_TRUE(waitUntil([&] { return !link.host.connected; }, 2));
    // HOST again after the host thread ended (its client left) reuses its slot; the join
    // there also makes sure the host's last line is out.
    initLanLobby(link.client);
    ASSERT_TRUE(link.connect());
    std::string log = testing::internal::GetCapturedStdout();
    for (const char* line : {"TCP服务器监听端口 55003\n等待客户端连接...\n", "连接至 127.0.0.1:55003\n", "客户端已连接\n",
                             "已连接到服务器\n", "连接失败\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    EXPECT_EQ(countOf(log, "连接已断开\n"), 1u);

    // A packet announcing more than any message holds ends the connection unread.
    testing::internal::CaptureStdout();
    sendRaw(*link.client.client_socket, {0x7F, 0xFF, 0xFF, 0xFF, 1, 2, 3});
    ASSERT_TRUE(waitUntil([&] { return !link.host.connected && !link.client.connected; }, 2));
    shutdownLanLobby(link.host);  // joins the host thread, so its line is out
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Socket错误\n"), std::string::npos);
    EXPECT_TRUE(queued(link.host).empty());
}

// With 55003..55023 all taken (a port an earlier test left in TIME_WAIT is taken already)
// hosting fails once; with 55023 free again, HOST binds it.
TEST(LanHostNetns, HostTakesTheFirstFreePortUpTo55023) {
    Endpoints link;
    // Taken the way the game takes them, so a port the previous test's connection still
    // winds down on is taken all the same.
    std::list<HostListener> taken(21);
    unsigned short port = 55003;
    for (HostListener& listener : taken) {
        sf::SocketHandle handle;
        ASSERT_TRUE(listenOn(port++, handle));
        listener.adopt(handle);
    }
    testing::internal::CaptureStdout();
    startHostThread(link.host);
    ASSERT_TRUE(waitUntil([&] { return !link.host.hosting; }, 5));  // it logs, then clears hosting
    EXPECT_EQ(countOf(testing::internal::GetCapturedStdout(), "无法绑定TCP端口\n"), 1u);
    EXPECT_FALSE(link.host.listening);

    taken.back().close();
    std::string log = stdoutOf([&] { EXPECT_TRUE(link.connect()); });
    EXPECT_EQ(link.host.listen_port, 55023);
    EXPECT_NE(log.find("TCP服务器监听端口 55023\n"), std::string::npos);
}

// One role at a time: JOIN while hosting gives the hosting up, and HOST then works
// again; picking a host while hosting stops the host (its port is free again and nobody
// can join it), and messages go out on the client connection.
TEST(LanHostNetns, JoiningWhileHostingStopsTheHost) {
    REQUIRE_PRIVATE_NETWORK();
    OwnLobby lobby;
    ASSERT_TRUE(hostAndListen(lobby));
    startScan(lobby);
    EXPECT_FALSE(lobby.hosting || lobby.is_host);
    lobby.scanning = false;
    ASSERT_TRUE(hostAndListen(lobby));
    EXPECT_TRUE(lobby.is_host && lobby.hosting);

    unsigned short hosted_port = lobby.listen_port;
    LoopbackPeer peer;
    ASSERT_TRUE(peer.connect(lobby, false));
    EXPECT_FALSE(lobby.hosting || lobby.is_host || lobby.host_thread.joinable() || lobby.announce_thread.joinable());
    HostListener again;  // a port nobody listens on any more
    sf::SocketHandle handle;
    EXPECT_TRUE(listenOn(hosted_port, handle));
    again.adopt(handle);
    queueOutgoing(lobby, {MsgReady, 1});
    EXPECT_EQ(peer.receive(), (std::vector<Message>{{MsgReady, 1}}));
}
