#include "net/lan_lobby.h"

// The main thread never waits on the peer: messages are framed into the outbox and
// the socket takes what it can each time. A packet the socket took in part stays at the
// front until the rest goes, so the stream's framing is never broken.

namespace {
using Clock = std::chrono::steady_clock;

// Bytes from an earlier connection must never reach a new peer.
void forgetOldConnection(LanLobby& lobby) {
    if (lobby.outbox_serial == lobby.connection_serial) return;
    lobby.outbox.clear();
    lobby.outbox_serial = lobby.connection_serial;
}
}  // namespace

void queueOutgoing(LanLobby& lobby, const Message& bytes) {
    forgetOldConnection(lobby);
    if (lobby.outbox.empty()) lobby.outbox_waiting_since = Clock::now();
    auto size = static_cast<std::uint32_t>(bytes.size());
    for (int shift = 24; shift >= 0; shift -= 8) lobby.outbox.push_back(std::uint8_t(size >> shift));
    lobby.outbox.insert(lobby.outbox.end(), bytes.begin(), bytes.end());
    ++lobby.messages_sent;
    flushOutbox(lobby);
}

void flushOutbox(LanLobby& lobby) {
    forgetOldConnection(lobby);
    if (lobby.outbox.empty()) return;
    sf::TcpSocket* socket = peerSocket(lobby);
    if (!lobby.connected || !socket) {
        lobby.outbox.clear();
        return;
    }
    std::size_t sent = 0;
    sf::Socket::Status status = socket->send(lobby.outbox.data(), lobby.outbox.size(), sent);
    if (status == sf::Socket::Status::Disconnected || status == sf::Socket::Status::Error) {
        // The receive loop reports the loss; nothing more can go out.
        lobby.outbox.clear();
        return;
    }
    lobby.outbox.erase(lobby.outbox.begin(), lobby.outbox.begin() + std::ptrdiff_t(sent));
    if (lobby.outbox.empty() || Clock::now() - lobby.outbox_waiting_since < kSendStallLimit) return;
    // A healthy peer takes our few bytes at once; one that has left them waiting this long
    // has stopped reading (or nearly), and is treated as gone.
    loseConnection(lobby, "连接已断开");
    shutDownSocket(*socket);
    lobby.outbox.clear();
}
