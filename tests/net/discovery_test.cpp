#include "net/net_support.h"

// Beacons come from the first end of the private network's veth pair (tests/CMakeLists.txt).
namespace {
const sf::IpAddress kSender(10, 77, 0, 1);

// Starts a scan and waits for its end; returns the hosts found.
std::vector<HostEntry> scan(LanLobby& lobby, double seconds = 8, const std::function<void()>& meanwhile = {}) {
    startScan(lobby);
    if (meanwhile) meanwhile();
    EXPECT_TRUE(waitUntil([&] { return !lobby.scanning; }, seconds));
    std::lock_guard<std::mutex> lock(lobby.hosts_mutex);
    return lobby.found_hosts;
}
}  // namespace

// Only beacons ([9][port high][port low]) for a host port (55003..55023) count, each
// address and port once, and no more hosts than the lobby has rows for above its buttons.
TEST(DiscoveryNetns, ATakenPortEndsTheScanAtOnceAndDistinctBeaconsAreListedOnce) {
    REQUIRE_PRIVATE_NETWORK();
    OwnLobby scanner;
    {
        // A taken discovery port ends the scan at once; the next JOIN reuses its slot.
        sf::UdpSocket holder;
        ASSERT_EQ(holder.bind(55002), sf::Socket::Status::Done);
        std::string log = stdoutOf([&] { EXPECT_TRUE(scan(scanner, 1).empty()); });
        EXPECT_NE(log.find("无法绑定UDP发现端口 55002\n"), std::string::npos);
    }
    scanner.found_hosts.push_back({sf::IpAddress(1, 2, 3, 4), 1});  // JOIN empties the list
    testing::internal::CaptureStdout();
    std::vector<HostEntry> hosts = scan(scanner, 8, [&] {
        EXPECT_TRUE(scanner.scanning);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        sf::UdpSocket sender;
        auto send = [&](const Message& bytes) { (void)sender.send(bytes.data(), bytes.size(), sf::IpAddress::Broadcast, 55002); };
        auto beacon = [](int port) { return Message{9, std::uint8_t(port >> 8), std::uint8_t(port & 0xFF)}; };
        for (const Message& other : {Message{8}, Message{9}, beacon(80), beacon(55002), beacon(55024)}) send(other);
        for (int port : {55023, 55003, 55003, 55003, 55003, 55003}) send(beacon(port));
        for (int port = 55010; port < 55020; ++port) send(beacon(port));
    });
    std::string log = testing::internal::GetCapturedStdout();
    std::vector<HostEntry> expected = {{kSender, 55023}, {kSender, 55003}};
    for (unsigned short port = 55010; expected.size() < kMaxListedHosts; ++port) expected.push_back({kSender, port});
    EXPECT_EQ(hosts, expected);
    EXPECT_EQ(countOf(log, "发现主机: "), kMaxListedHosts);
    EXPECT_NE(log.find("发现主机: 10.77.0.1:55003\n"), std::string::npos);
}

// Two hosting copies on one machine: the second binds the next port and its beacon
// announces that port, not the first one it tried.
TEST(DiscoveryNetns, TwoHostsAnnounceTheirBoundPorts) {
    REQUIRE_PRIVATE_NETWORK();
    OwnLobby first, second, scanner;
    ASSERT_TRUE(hostAndListen(first));
    startHosting(second);
    std::vector<HostEntry> hosts = scan(scanner);
    std::sort(hosts.begin(), hosts.end(), [](const HostEntry& a, const HostEntry& b) { return a.port < b.port; });
    EXPECT_EQ(hosts, (std::vector<HostEntry>{{kSender, 55003}, {kSender, 55004}}));
}
