#include "net/net_support.h"

#include <gtest/gtest.h>

// Discovery broadcasts: CTest runs these inside a private network namespace with a veth
// pair (10.77.0.1 and 10.77.0.2), where a broadcast reaches only this namespace.
namespace {
struct Scanner {
    LanLobby lobby;
    Scanner() { initLanLobby(lobby); }
    ~Scanner() { shutdownLanLobby(lobby); }
    std::vector<HostEntry> hosts() {
        std::lock_guard<std::mutex> lock(lobby.hosts_mutex);
        return lobby.found_hosts;
    }
};

void broadcast(sf::UdpSocket& socket, std::initializer_list<sf::Uint8> bytes, unsigned short port = 0) {
    sf::Packet packet;
    for (sf::Uint8 byte : bytes) packet << byte;
    if (port) packet << sf::Uint16(port);
    socket.send(packet, sf::IpAddress::Broadcast, 55002);
}
}  // namespace

TEST(DiscoveryNetns, DistinctBeaconsAreListedOnceAndOthersIgnored) {
    REQUIRE_PRIVATE_NETWORK();
    Scanner scan;
    scan.lobby.found_hosts.push_back({sf::IpAddress(1, 2, 3, 4), 1});  // JOIN empties the list
    testing::internal::CaptureStdout();
    startScan(scan.lobby);
    EXPECT_TRUE(scan.lobby.scanning);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    sf::UdpSocket sender;
    broadcast(sender, {8});
    broadcast(sender, {9});
    for (int i = 0; i < 5; ++i) broadcast(sender, {9}, 55003);
    broadcast(sender, {9}, 55010);
    ASSERT_TRUE(waitUntil([&] { return !scan.lobby.scanning; }, 8));
    std::string log = testing::internal::GetCapturedStdout();
    sf::IpAddress sender_address(10, 77, 0, 1);
    EXPECT_EQ(scan.hosts(), (std::vector<HostEntry>{{sender_address, 55003}, {sender_address, 55010}}));
    EXPECT_EQ(countOf(log, "发现主机: "), 2u);
    EXPECT_NE(log.find("发现主机: 10.77.0.1:55003\n"), std::string::npos);
}

// Two hosting copies on one machine: the second binds the next port and its beacon
// announces that port, not the first one it tried.
TEST(DiscoveryNetns, TwoHostsAnnounceTheirBoundPorts) {
    REQUIRE_PRIVATE_NETWORK();
    LanLobby first;
    LanLobby second;
    initLanLobby(first);
    initLanLobby(second);
    startHosting(first);
    ASSERT_TRUE(waitUntil([&] { return first.listening.load(); }, 5));
    startHosting(second);
    Scanner scan;
    startScan(scan.lobby);
    ASSERT_TRUE(waitUntil([&] { return !scan.lobby.scanning; }, 8));
    std::vector<HostEntry> hosts = scan.hosts();
    std::sort(hosts.begin(), hosts.end(), [](const HostEntry& a, const HostEntry& b) { return a.port < b.port; });
    sf::IpAddress sender_address(10, 77, 0, 1);
    EXPECT_EQ(hosts, (std::vector<HostEntry>{{sender_address, 55003}, {sender_address, 55004}}));
    shutdownLanLobby(second);
    shutdownLanLobby(first);
}

TEST(DiscoveryNetns, TakenDiscoveryPortEndsTheScanAtOnce) {
    REQUIRE_PRIVATE_NETWORK();
    sf::UdpSocket holder;
    ASSERT_EQ(holder.bind(55002), sf::Socket::Done);
    Scanner scan;
    testing::internal::CaptureStdout();
    startScan(scan.lobby);
    ASSERT_TRUE(waitUntil([&] { return !scan.lobby.scanning; }, 1));
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("无法绑定UDP发现端口 55002\n"), std::string::npos);
    EXPECT_TRUE(scan.hosts().empty());
    startScan(scan.lobby);  // JOIN again: the ended scan's slot is reused
    ASSERT_TRUE(waitUntil([&] { return !scan.lobby.scanning; }, 1));
}
