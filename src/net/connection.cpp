#include "app/log.h"
#include "app/sfml_compat.h"
#include "net/native_socket.h"
#include "net/lan_lobby.h"
#include "net/packet_reader.h"
#include "net/peer_link.h"

#include <SFML/Network/SocketSelector.hpp>
#include <array>
#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace {
constexpr int kReceivePollMs = 10;
constexpr int kAcceptPollMs = 50;
constexpr int kPortsTried = 21;

// Returns false, queuing nothing, when the messages would overrun the queue's bound.
bool queueMessages(LanLobby& lobby, std::vector<Message>& messages) {
    if (messages.empty()) return true;
    std::lock_guard<std::mutex> lock(lobby.queue_mutex);
    if (lobby.message_queue.size() + messages.size() > kMaxQueuedMessages) return false;
    for (Message& message : messages) lobby.message_queue.push_back(std::move(message));
    lobby.messages_received += messages.size();
    messages.clear();
    return true;
}

// A new connection starts clean: nothing an earlier peer sent may be handled for this one.
void beginConnection(LanLobby& lobby) {
    {
        std::lock_guard<std::mutex> lock(lobby.queue_mutex);
        lobby.message_queue.clear();
    }
    lobby.connection_serial += 1;
    lobby.last_heard_us = steadyMicroseconds();
    lobby.connected = true;
}

// Turns the peer's stream into whole messages until the connection is lost or the game
// shuts down. The framing is read by hand so that a forged size cannot make it wait
// for, or buffer, gigabytes.
void receiveLoop(LanLobby& lobby, sf::TcpSocket& socket) {
    if (!lobby.threads_running) return;
    PacketReader reader;
    std::vector<Message> complete;
    std::array<std::uint8_t, 512> buffer;
    while (lobby.connected) {
        std::size_t received = 0;
        sf::Socket::Status status = socket.receive(buffer.data(), buffer.size(), received);
        if (status == sf::Socket::Status::Disconnected) return loseConnection(lobby, "连接已断开");
        if (status == sf::Socket::Status::Error) return loseConnection(lobby, "Socket错误");
        if (status == sf::Socket::Status::Done) {
            lobby.last_heard_us = steadyMicroseconds();
            bool sound = readPackets(reader, buffer.data(), received, complete);
            if (!queueMessages(lobby, complete)) {
                shutDownSocket(socket);
                return loseConnection(lobby, "⚠️ 对方发送的消息过多，连接已断开");
            }
            if (!sound) {
                shutDownSocket(socket);
                return loseConnection(lobby, "Socket错误");
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kReceivePollMs));
        if (!lobby.threads_running) return;
    }
}

bool bindListener(LanLobby& lobby) {
    for (int offset = 0; offset < kPortsTried; ++offset) {
        unsigned short port = static_cast<unsigned short>(lobby.base_port + offset);
        if (port == lobby.discovery_port) continue;
        sf::SocketHandle handle;
        if (listenOn(port, handle)) {
            lobby.listener->adopt(handle);
            lobby.listener->setBlocking(false);
            lobby.listen_port = port;
            return true;
        }
    }
    return false;
}

// The listener is non-blocking and polled, so a shutdown while no client comes ends
// the wait (closing a listener from another thread would not wake a blocked accept).
bool acceptClient(LanLobby& lobby) {
    sf::SocketSelector selector;
    selector.add(*lobby.listener);
    while (lobby.threads_running && !lobby.stop_hosting) {
        if (!selector.wait(sf::milliseconds(kAcceptPollMs))) continue;
        sf::Socket::Status status = lobby.listener->accept(*lobby.host_socket);
        if (status == sf::Socket::Status::Done) return true;
        if (status != sf::Socket::Status::NotReady) return false;
    }
    return false;
}

// Binds, accepts one client, closes the listener, then serves as the host's receive
// thread for as long as the connection lasts.
void runHostThread(LanLobby& lobby) {
    if (!bindListener(lobby)) {
        logLine("无法绑定TCP端口");
        lobby.hosting = false;
        return;
    }
    lobby.listening = true;
    unsigned short port = lobby.listen_port;
    logLine("TCP服务器监听端口 ", port);
    logLine("等待客户端连接...");
    bool accepted = acceptClient(lobby);
    lobby.listener->close();
    if (!accepted || lobby.stop_hosting) {
        // Hosting was given up (the player joins instead): a client that came at the
        // last moment is turned away.
        if (accepted) lobby.host_socket->disconnect();
        lobby.hosting = false;
        return;
    }
    logLine("客户端已连接");
    // Connected before hosting clears: whoever sees hosting end also sees the client.
    beginConnection(lobby);
    lobby.hosting = false;
    receiveLoop(lobby, *lobby.host_socket);
}
}  // namespace

void shutDownSocket(sf::TcpSocket& socket) {
    // Shutting down (not closing) keeps the handle valid for a send another thread may be
    // making; the peer sees the connection end.
#ifdef _WIN32
    ::shutdown(nativeHandleOf(socket), SD_BOTH);
#else
    ::shutdown(nativeHandleOf(socket), SHUT_RDWR);
#endif
}

void loseConnection(LanLobby& lobby, const char* line) {
    if (lobby.connected.exchange(false)) logLine(line);
}

void startHosting(LanLobby& lobby) {
    if (lobby.hosting || lobby.connected || lobby.dial_outcome == DialOutcome::Dialing) return;
    lobby.opponent_left = false;
    // The last beacon ended with its hosting; it must be gone before hosting is set again.
    joinSlot(lobby.announce_thread);
    startHostThread(lobby);
    startBeacon(lobby);
}

void startHostThread(LanLobby& lobby) {
    if (lobby.hosting || lobby.connected) return;
    joinSlot(lobby.host_thread);  // finished: it failed, or its client's connection is gone
    lobby.host_socket->disconnect();  // the old connection must not hold the port
    lobby.stop_hosting = false;
    lobby.is_host = true;
    lobby.listening = false;
    lobby.hosting = true;
    lobby.listener->setBlocking(false);
    lobby.host_socket->setBlocking(false);  // the accepted connection inherits it
    lobby.host_thread = std::thread(runHostThread, std::ref(lobby));
}

// The host thread sets `connected` before it clears `hosting`, so once hosting reads clear
// either a client is connected or the thread is ending and can be joined.
void stopHosting(LanLobby& lobby) {
    if (lobby.hosting) {
        lobby.stop_hosting = true;
        while (lobby.hosting && !lobby.connected) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!lobby.connected) joinSlot(lobby.host_thread);
    joinSlot(lobby.announce_thread);  // it stops with hosting or with a connection
}

namespace {
DialOutcome outcomeOf(DialResult result) {
    switch (result) {
        case DialResult::Connected: return DialOutcome::Connected;
        case DialResult::Refused: return DialOutcome::Refused;
        case DialResult::NoAnswer: return DialOutcome::TimedOut;
        case DialResult::Cancelled: break;
    }
    return DialOutcome::Idle;
}

// The joining game's background thread: the connect, then the receive loop on it.
void runDialThread(LanLobby& lobby, PeerAddress target) {
    logLine("连接至 ", describeAddress(target));
    std::optional<sf::IpAddress> address = resolveAddress(target.host);
    if (!address) {
        logLine("连接失败");
        lobby.dial_outcome = DialOutcome::NoSuchName;
        return;
    }
    sf::SocketHandle handle;
    DialResult result = dial(*address, target.port, kConnectTimeoutMs,
                             [&lobby] { return lobby.threads_running && !lobby.stop_dialing; }, handle);
    if (result != DialResult::Connected) {
        if (result != DialResult::Cancelled) logLine("连接失败");
        lobby.dial_outcome = outcomeOf(result);
        return;
    }
    ClientSocket& socket = *lobby.client_socket;
    socket.adopt(handle);
    socket.setBlocking(false);
    lobby.is_host = false;
    beginConnection(lobby);
    logLine("已连接到服务器");
    lobby.dial_outcome = DialOutcome::Connected;
    receiveLoop(lobby, socket);
}
}  // namespace

bool startDialing(LanLobby& lobby, const PeerAddress& target) {
    if (lobby.dial_outcome == DialOutcome::Dialing) return false;
    stopHosting(lobby);
    if (lobby.connected) return false;
    joinSlot(lobby.receive_thread);  // its connection is gone, so it is ending
    lobby.stop_dialing = false;
    lobby.dial_target = target;
    lobby.dial_outcome = DialOutcome::Dialing;
    lobby.receive_thread = std::thread(runDialThread, std::ref(lobby), target);
    return true;
}

bool connectToHost(LanLobby& lobby, const HostEntry& host) {
    if (!startDialing(lobby, {host.address.toString(), host.port})) return false;
    while (lobby.dial_outcome == DialOutcome::Dialing) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return lobby.dial_outcome == DialOutcome::Connected;
}
