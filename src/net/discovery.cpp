#include "app/log.h"
#include "app/sfml_compat.h"
#include "net/lan_lobby.h"

#include <SFML/Network/Packet.hpp>
#include <SFML/Network/UdpSocket.hpp>
#include <algorithm>

namespace {
constexpr std::uint8_t kQuery = 8;
constexpr std::uint8_t kBeacon = 9;
constexpr int kBeaconIntervalMs = 1000;
constexpr int kQueryCount = 3;
constexpr int kQueryIntervalMs = 500;
constexpr float kListenSeconds = 3.0f;
constexpr int kListenPollMs = 50;
constexpr int kBindPollMs = 10;

// The beacon carries the port the host thread actually bound, so it waits for the bind.
bool waitForListener(LanLobby& lobby) {
    while (lobby.hosting && !lobby.listening && lobby.threads_running)
        std::this_thread::sleep_for(std::chrono::milliseconds(kBindPollMs));
    return lobby.hosting && lobby.listening && lobby.threads_running;
}

void runBeacon(LanLobby& lobby) {
    if (!waitForListener(lobby)) return;
    sf::UdpSocket socket;
    socket.setBlocking(false);
    sf::Packet beacon;
    beacon << std::uint8_t(kBeacon) << std::uint16_t(lobby.listen_port);
    auto announcing = [&lobby] { return lobby.hosting && !lobby.connected && lobby.threads_running; };
    while (announcing()) {
        (void)socket.send(beacon, sf::IpAddress::Broadcast, lobby.discovery_port);  // a lost one goes again
        sleepWhile(kBeaconIntervalMs, announcing);
    }
}

// A beacon is [9][port high][port low] with a port a host can bind; anything else is skipped.
bool readBeacon(const LanLobby& lobby, sf::Packet& packet, unsigned short& port) {
    std::uint8_t type = 0;
    std::uint16_t tcp_port = 0;
    if (!(packet >> type) || type != kBeacon || !(packet >> tcp_port)) return false;
    if (tcp_port < lobby.base_port || tcp_port >= lobby.base_port + kHostPortsTried) return false;
    port = tcp_port;
    return true;
}

// The list holds only as many hosts as the lobby can show and a click can reach.
void rememberHost(LanLobby& lobby, const HostEntry& host) {
    std::lock_guard<std::mutex> lock(lobby.hosts_mutex);
    if (lobby.found_hosts.size() >= kMaxListedHosts) return;
    if (std::find(lobby.found_hosts.begin(), lobby.found_hosts.end(), host) != lobby.found_hosts.end()) return;
    lobby.found_hosts.push_back(host);
    logLine("发现主机: ", host.address.toString(), ":", host.port);
}

void runScan(LanLobby& lobby) {
    auto scanning = [&lobby] { return lobby.scanning && lobby.threads_running; };
    sf::UdpSocket socket;
    if (socket.bind(lobby.discovery_port) != sf::Socket::Status::Done) {
        logLine("无法绑定UDP发现端口 ", lobby.discovery_port);
        lobby.scanning = false;
        return;
    }
    socket.setBlocking(false);
    sf::Packet query;
    query << std::uint8_t(kQuery);
    for (int i = 0; i < kQueryCount && scanning(); ++i) {
        (void)socket.send(query, sf::IpAddress::Broadcast, lobby.discovery_port);  // a lost one goes again
        sleepWhile(kQueryIntervalMs, scanning);
    }
    // Real time, not the game's clock: a test stepping the game's clock must not stretch the scan.
    auto started = std::chrono::steady_clock::now();
    auto listened = [started] { return std::chrono::duration<float>(std::chrono::steady_clock::now() - started).count(); };
    while (listened() < kListenSeconds && scanning()) {
        sf::Packet packet;
        sf::IpAddress sender = sf::IpAddress::Any;
        unsigned short sender_port = 0;
        unsigned short tcp_port = 0;
        if (receivePacket(socket, packet, sender, sender_port) && readBeacon(lobby, packet, tcp_port))
            rememberHost(lobby, {sender, tcp_port});
        std::this_thread::sleep_for(std::chrono::milliseconds(kListenPollMs));
    }
    lobby.scanning = false;
}
}  // namespace

void startBeacon(LanLobby& lobby) {
    joinSlot(lobby.announce_thread);
    lobby.announce_thread = std::thread(runBeacon, std::ref(lobby));
}

void startScan(LanLobby& lobby) {
    // Joining and hosting exclude each other: a host still waiting for its client stops.
    stopHosting(lobby);
    lobby.opponent_left = false;
    // A scan still running holds the discovery port: stop it and let it go first.
    lobby.scanning = false;
    joinSlot(lobby.scan_thread);
    {
        std::lock_guard<std::mutex> lock(lobby.hosts_mutex);
        lobby.found_hosts.clear();
    }
    lobby.scanning = true;
    if (!lobby.connected) lobby.is_host = false;
    lobby.scan_thread = std::thread(runScan, std::ref(lobby));
}
