#pragma once
#include "app/game.h"
#include "net/lan_lobby.h"

#include <SFML/Network.hpp>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <thread>

// Polls a condition for up to `seconds`; returns whether it came true.
template <typename Condition>
bool waitUntil(Condition condition, double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline std::vector<Message> queuedMessages(LanLobby& lobby) {
    std::lock_guard<std::mutex> lock(lobby.queue_mutex);
    return lobby.message_queue;
}

inline size_t countOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Broadcasts must never leave the machine: only loopback and the test's own veth pair
// (10.77.0.0/24, both ends inside the namespace) may carry an IPv4 address.
inline bool insidePrivateNetwork() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool own_pair = false;
    bool foreign = false;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        std::uint32_t address = ntohl(reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        if ((address >> 24) == 127) continue;
        if ((address >> 8) == ((10u << 16) | (77u << 8))) own_pair = true;
        else foreign = true;
    }
    freeifaddrs(list);
    return own_pair && !foreign;
}

// Tests that broadcast run only inside the namespace their CTest entry builds.
#define REQUIRE_PRIVATE_NETWORK()                                                              \
    do {                                                                                       \
        if (insidePrivateNetwork()) break;                                                     \
        if (std::getenv("TARVEX_PRIVATE_NET")) FAIL() << "the private network is not set up"; \
        GTEST_SKIP() << "broadcasts only inside a private network namespace (run through ctest)"; \
    } while (0)

// The test's end of a game connection on 127.0.0.1, on a port the system picks.
struct LoopbackPeer {
    sf::TcpListener listener;
    sf::TcpSocket socket;

    // The game joins this peer as a client, through its real connect and receive thread.
    bool acceptGameAsClient(LanLobby& lobby) {
        if (listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost) != sf::Socket::Done) return false;
        if (!connectToHost(lobby, {sf::IpAddress::LocalHost, listener.getLocalPort()})) return false;
        return listener.accept(socket) == sf::Socket::Done;
    }

    // The game plays the host of this peer; nothing receives on the game's side.
    bool connectToGameAsHost(LanLobby& lobby) {
        if (listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost) != sf::Socket::Done) return false;
        if (socket.connect(sf::IpAddress::LocalHost, listener.getLocalPort()) != sf::Socket::Done) return false;
        if (listener.accept(*lobby.host_socket) != sf::Socket::Done) return false;
        lobby.is_host = true;
        lobby.connected = true;
        return true;
    }

    // Every packet that arrives within `seconds`, as byte vectors.
    std::vector<Message> receive(double seconds) {
        std::vector<Message> messages;
        sf::SocketSelector selector;
        selector.add(socket);
        while (selector.wait(sf::seconds(float(seconds)))) {
            sf::Packet packet;
            if (socket.receive(packet) != sf::Socket::Done) break;
            auto* data = static_cast<const std::uint8_t*>(packet.getData());
            messages.emplace_back(data, data + packet.getDataSize());
        }
        return messages;
    }

    void sendRaw(const std::vector<std::uint8_t>& bytes) { socket.send(bytes.data(), bytes.size()); }
};
