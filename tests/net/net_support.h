#pragma once
#include "app/update.h"
#include "net/protocol.h"
#include "support.h"

#include <SFML/Network.hpp>
#include <cstdlib>
#ifdef _WIN32
#include <winsock2.h>
#else
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

// Broadcasts must never leave the machine: only loopback and the test's own veth pair
// (10.77.0.0/24, both ends inside the namespace) may carry an IPv4 address. The Windows
// test program never broadcasts: the namespace is Linux's.
inline bool insidePrivateNetwork() {
#ifdef _WIN32
    return false;
#else
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool own_pair = false, foreign = false;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        std::uint32_t address = ntohl(reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        if ((address >> 24) != 127) ((address >> 8) == ((10u << 16) | (77u << 8)) ? own_pair : foreign) = true;
    }
    freeifaddrs(list);
    return own_pair && !foreign;
#endif
}

// Tests that broadcast run only inside the namespace their CTest entry builds.
#define REQUIRE_PRIVATE_NETWORK()                                                              \
    do {                                                                                       \
        if (insidePrivateNetwork()) break;                                                     \
        if (std::getenv("TARVEX_PRIVATE_NET")) FAIL() << "the private network is not set up"; \
        GTEST_SKIP() << "broadcasts only inside a private network namespace (run through ctest)"; \
    } while (0)

// A lobby of its own, started and shut down with the object.
struct OwnLobby : LanLobby {
    OwnLobby() { initLanLobby(*this); }
    ~OwnLobby() { shutdownLanLobby(*this); }
};

// HOST, and whether the host thread has bound its port within 5 s.
inline bool hostAndListen(LanLobby& lobby) {
    startHosting(lobby);
    return waitUntil([&] { return lobby.listening.load(); }, 5);
}

// A network game on the faction screen.
inline void enterNetworkGame(Game& game) { game.game_started = game.network_mode = game.lobby_active = true; }

// Handles the messages as if the receive thread had queued them; returns the log.
inline std::string handleMessages(Game& game, const std::vector<Message>& messages) {
    {
        std::lock_guard<std::mutex> lock(game.lobby.queue_mutex);
        game.lobby.message_queue.insert(game.lobby.message_queue.end(), messages.begin(), messages.end());
    }
    return stdoutOf([&] { processMessages(game); });
}

// What the receive thread has queued and nobody has handled yet.
inline std::vector<Message> queued(LanLobby& lobby) {
    std::lock_guard<std::mutex> lock(lobby.queue_mutex);
    return lobby.message_queue;
}

inline void sendRaw(sf::TcpSocket& socket, const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    ASSERT_EQ(socket.send(bytes.data(), bytes.size(), sent), sf::Socket::Status::Done);
}

// Steps the frame update at 60 frames a second of real time until the condition holds.
template <typename Condition>
bool stepUntil(Game& game, Condition condition, double seconds) {
    return waitUntil([&] {
        update(game, 1.0f / 60);
        return condition();
    }, seconds, 16);
}

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The test's end of a game connection on 127.0.0.1, on a port the system picks.
struct LoopbackPeer {
    sf::TcpListener listener;
    sf::TcpSocket socket;

    // The game is the client, with its real connect and receive thread; or it plays the
    // host, with nothing receiving on its side. A receive buffer size, if given, is ours.
    bool connect(LanLobby& lobby, bool game_hosts, int receive_buffer = 0) {
        if (listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost) != sf::Socket::Status::Done) return false;
        if (receive_buffer > 0)
            setsockopt(nativeHandleOf(listener), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receive_buffer),
                       sizeof(receive_buffer));
        if (!game_hosts) return connectToHost(lobby, {sf::IpAddress::LocalHost, listener.getLocalPort()}) &&
                                listener.accept(socket) == sf::Socket::Status::Done;
        if (socket.connect(sf::IpAddress::LocalHost, listener.getLocalPort()) != sf::Socket::Status::Done) return false;
        lobby.is_host = lobby.connected = true;
        return listener.accept(*lobby.host_socket) == sf::Socket::Status::Done;
    }

    // Every packet that arrives within 0.3 s.
    std::vector<Message> receive() {
        std::vector<Message> messages;
        sf::SocketSelector selector;
        selector.add(socket);
        sf::Packet packet;
        while (selector.wait(sf::seconds(0.3f)) && socket.receive(packet) == sf::Socket::Status::Done) {
            auto* data = static_cast<const std::uint8_t*>(packet.getData());
            messages.emplace_back(data, data + packet.getDataSize());
        }
        return messages;
    }
};
