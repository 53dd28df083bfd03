#include "net/net_support.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <functional>

// Discovery broadcasts: CTest runs these inside a private network namespace with a veth
// pair (10.77.0.1 and 10.77.0.2), where a broadcast reaches only this namespace.
namespace {
const sf::IpAddress kSender(10, 77, 0, 1);

struct Scanner {
    LanLobby lobby;
    Scanner() { initLanLobby(lobby); }
    ~Scanner() { shutdownLanLobby(lobby); }
    // Starts a scan and waits for its end; returns the hosts found.
    std::vector<HostEntry> scan(double seconds = 8, const std::function<void()>& meanwhile = {}) {
        startScan(lobby);
        if (meanwhile) meanwhile();
        EXPECT_TRUE(waitUntil([&] { return !lobby.scanning; }, seconds));
        std::lock_guard<std::mutex> lock(lobby.hosts_mutex);
        return lobby.found_hosts;
    }
};
}  // namespace

TEST(DiscoveryNetns, DistinctBeaconsAreListedOnceAndOthersIgnored) {
    REQUIRE_PRIVATE_NETWORK();
    Scanner scanner;
    scanner.lobby.found_hosts.push_back({sf::IpAddress(1, 2, 3, 4), 1});  // JOIN empties the list
    testing::internal::CaptureStdout();
    std::vector<HostEntry> hosts = scanner.scan(8, [&] {
        EXPECT_TRUE(scanner.lobby.scanning);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        sf::UdpSocket sender;
        sf::Packet only8, only9, first, second;
        only8 << sf::Uint8(8);
        only9 << sf::Uint8(9);
        first << sf::Uint8(9) << sf::Uint16(55003);
        second << sf::Uint8(9) << sf::Uint16(55010);
        for (sf::Packet* beacon : {&only8, &only9, &first, &first, &first, &first, &first, &second})
            sender.send(*beacon, sf::IpAddress::Broadcast, 55002);
    });
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(hosts, (std::vector<HostEntry>{{kSender, 55003}, {kSender, 55010}}));
    EXPECT_EQ(countOf(log, "发现主机: "), 2u);
    EXPECT_NE(log.find("发现主机: 10.77.0.1:55003\n"), std::string::npos);
}

// Two hosting copies on one machine: the second binds the next port and its beacon
// announces that port, not the first one it tried.
TEST(DiscoveryNetns, TwoHostsAnnounceTheirBoundPorts) {
    REQUIRE_PRIVATE_NETWORK();
    LanLobby first, second;
    initLanLobby(first);
    initLanLobby(second);
    startHosting(first);
    ASSERT_TRUE(waitUntil([&] { return first.listening.load(); }, 5));
    startHosting(second);
    std::vector<HostEntry> hosts = Scanner().scan();
    std::sort(hosts.begin(), hosts.end(), [](const HostEntry& a, const HostEntry& b) { return a.port < b.port; });
    EXPECT_EQ(hosts, (std::vector<HostEntry>{{kSender, 55003}, {kSender, 55004}}));
    shutdownLanLobby(second);
    shutdownLanLobby(first);
}

TEST(DiscoveryNetns, TakenDiscoveryPortEndsTheScanAtOnce) {
    REQUIRE_PRIVATE_NETWORK();
    sf::UdpSocket holder;
    ASSERT_EQ(holder.bind(55002), sf::Socket::Done);
    Scanner scanner;
    std::string log = stdoutOf([&] { EXPECT_TRUE(scanner.scan(1).empty()); });
    EXPECT_NE(log.find("无法绑定UDP发现端口 55002\n"), std::string::npos);
    scanner.scan(1);  // JOIN again: the ended scan's slot is reused
}
