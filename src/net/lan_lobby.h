#pragma once
#include "content/texts.h"
#include "net/address.h"
#include "net/net_memory.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

struct Game;

// A host heard on the LAN: the beacon's sender and the TCP port it carries.
struct HostEntry {
    sf::IpAddress address = sf::IpAddress::Any;
    unsigned short port = 0;
};
inline bool operator==(const HostEntry& a, const HostEntry& b) { return a.address == b.address && a.port == b.port; }

using Message = std::vector<std::uint8_t>;

// How the last connect by address went; the dial thread sets it once it knows.
enum class DialOutcome : std::uint8_t { Idle, Dialing, Connected, NoSuchName, Refused, TimedOut };

// The host's listener: it takes over a socket bound by hand (net/native_socket.h).
struct HostListener : sf::TcpListener {
    void adopt(sf::SocketHandle handle) {
        close();
        create(handle);
    }
};

// The joining game's socket: it takes over a connection dialled on a socket of its own,
// which can give up the moment the game shuts down.
struct ClientSocket : sf::TcpSocket {
    void adopt(sf::SocketHandle handle) {
        disconnect();
        create(handle);
    }
};

// Hosts bind a TCP port from base_port on; beacons announcing any other port are not ours.
constexpr int kHostPortsTried = 21;
// Whole messages waiting for the main thread; a peer that sends more is flooding.
constexpr std::size_t kMaxQueuedMessages = 4096;
// Rows of discovered hosts that fit between the lobby's status line and its buttons.
constexpr std::size_t kMaxListedHosts = 8;
// A connect that has had no answer for this long has failed.
constexpr int kConnectTimeoutMs = 5000;
// A peer that leaves our bytes waiting this long is gone.
constexpr std::chrono::milliseconds kSendStallLimit{2000};

// The LAN link: sockets, the background threads and what they share with the main
// thread. Flags are atomics: each is written by one thread and polled by others.
// Every thread slot is joined before it is reused and at teardown; no thread is
// ever detached, so none can touch the Game after it is gone.
struct LanLobby {
    std::unique_ptr<HostListener> listener;        // touched only by the host thread while it runs
    std::unique_ptr<sf::TcpSocket> host_socket;    // the host's connection to its client
    std::unique_ptr<ClientSocket> client_socket;   // the client's connection to the host
    std::atomic<bool> is_host{false};
    std::atomic<bool> connected{false};        // set by the accept or the connect, cleared by the receive loop
    std::atomic<bool> hosting{false};          // the host thread binds or waits for its client
    std::atomic<bool> listening{false};        // the host thread has bound listen_port; the beacon waits for it
    std::atomic<bool> scanning{false};         // a discovery scan runs; clearing it ends the scan
    std::atomic<bool> threads_running{true};   // cleared first at teardown
    std::atomic<bool> stop_hosting{false};     // the host thread gives up its wait for a client
    std::atomic<bool> stop_dialing{false};     // the dial thread gives up its connect
    std::atomic<DialOutcome> dial_outcome{DialOutcome::Idle};
    std::atomic<unsigned> connection_serial{0};  // counts connections made, so stale state is noticed
    std::atomic<std::int64_t> last_heard_us{0};  // steady time the peer's last bytes came
    bool quiet_dial = false;                   // a connect made again by itself says nothing
    unsigned short discovery_port = 55002;
    unsigned short base_port = 55003;
    std::atomic<unsigned short> listen_port{55003};

    std::vector<Message> message_queue;        // whole received messages, oldest first
    std::mutex queue_mutex;
    std::atomic<std::uint64_t> messages_received{0};  // queued over the game's life
    std::uint64_t messages_sent = 0;           // main thread only: handed to the outbox

    // Main thread only: framed packets the socket has not taken yet, for the connection
    // numbered outbox_serial, and since when the outbox has not been empty.
    std::vector<std::uint8_t> outbox;
    unsigned outbox_serial = 0;
    std::chrono::steady_clock::time_point outbox_waiting_since;
    std::vector<Message> draining;             // the queue as taken for one drain
    bool peer_was_connected = false;           // as seen at the last frame
    unsigned seen_serial = 0;
    bool opponent_left = false;                // the lobby says the last opponent left
    // Main thread: the address field, what the lobby says of the last connect, and the
    // address that connect was for.
    std::string address_text;
    bool address_focused = false;
    Phrase connect_line;
    bool connect_failed = false;
    PeerAddress dial_target;
    NetMemory memory;
    std::vector<HostEntry> found_hosts;        // in order of discovery
    std::mutex hosts_mutex;

    std::thread host_thread;      // binds, accepts one client, then receives from it
    std::thread receive_thread;   // the client's connect, then its receive loop
    std::thread scan_thread;
    std::thread announce_thread;  // the host's beacon

    sf::RectangleShape host_button;
    sf::RectangleShape join_button;
    sf::RectangleShape address_box;
    sf::RectangleShape connect_button;
};

// Sockets and buttons of the lobby.
void initLanLobby(LanLobby& lobby);
// Ends every background thread promptly and closes the sockets; safe when nothing ever started.
void shutdownLanLobby(LanLobby& lobby);
// Leaving the lobby: ends every thread and closes the sockets as teardown does, then
// leaves the lobby as a fresh start has it (new sockets, flags clear, nothing queued or
// found), so HOST and JOIN work again.
void stopNetworking(LanLobby& lobby);

// HOST: binds a port from 55003 in a background thread, accepts one client, and
// broadcasts a beacon with the bound port meanwhile. Ignored while hosting or connected.
// One role at a time: joining stops a host that has no client yet.
void startHosting(Game& game);
void startHosting(LanLobby& lobby);
// The host thread alone, without the beacon.
void startHostThread(LanLobby& lobby);
// Ends a host that is still waiting for its client, with its beacon. A client accepted
// meanwhile wins: the connection stays up and is_host stays set.
void stopHosting(LanLobby& lobby);
// The beacon alone: once the host thread has bound, broadcasts its port every second.
void startBeacon(LanLobby& lobby);

// JOIN: empties found_hosts and listens for host beacons for a few seconds. A scan
// still running is stopped and joined first.
void startScan(Game& game);
void startScan(LanLobby& lobby);

// Connects to the host in a background thread (the main thread never waits on it):
// resolves the name, connects within kConnectTimeoutMs and then receives from the host.
// dial_outcome tells how it went. Refused (false) while connected or connecting; stops
// hosting first.
bool startDialing(LanLobby& lobby, const PeerAddress& target);
// The same, waiting for the outcome; returns whether the game is connected.
bool connectToHost(Game& game, const HostEntry& host);
bool connectToHost(LanLobby& lobby, const HostEntry& host);

// The socket messages go out on: host_socket for the host, else client_socket.
sf::TcpSocket* peerSocket(LanLobby& lobby);
// Ends the connection on our side: the peer sees it close and our receive loop ends.
void shutDownSocket(sf::TcpSocket& socket);
// Clears `connected`, logging the line only if this call is the one that cleared it, so a
// connection lost on two threads at once is reported once.
void loseConnection(LanLobby& lobby, const char* line);

// Frames one message (SFML's 4-byte size, then the bytes) onto the outbox and sends what
// the socket takes now. Never waits: what is left goes with the next flush.
void queueOutgoing(LanLobby& lobby, const Message& bytes);
// Sends as much of the outbox as the socket takes without waiting. A peer that has left
// bytes waiting for kSendStallLimit is dropped as lost.
void flushOutbox(LanLobby& lobby);

// Sleeps up to `milliseconds` in short steps while keep_going() holds, so a background
// thread notices a stop request promptly. Returns keep_going() at the end.
template <typename Condition>
bool sleepWhile(int milliseconds, Condition keep_going) {
    constexpr int kStep = 10;
    for (int slept = 0; slept < milliseconds && keep_going(); slept += kStep)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(kStep, milliseconds - slept)));
    return keep_going();
}

// Joins a thread slot that holds a thread; the caller has made sure it is ending.
void joinSlot(std::thread& slot);
