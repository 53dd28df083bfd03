#include "net/lan_lobby.h"
#include "app/game.h"

namespace {
void layOutLobbyButton(sf::RectangleShape& button, sf::Vector2f corner, sf::Color fill) {
    button.setSize({200, 80});
    button.setPosition(corner);
    button.setFillColor(fill);
}
}  // namespace

void joinSlot(std::thread& slot) {
    if (slot.joinable()) slot.join();
}

void initLanLobby(LanLobby& lobby) {
    lobby.threads_running = true;
    lobby.is_host = lobby.connected = lobby.hosting = lobby.listening = lobby.scanning = false;
    lobby.listener = std::make_unique<HostListener>();
    lobby.host_socket = std::make_unique<sf::TcpSocket>();
    lobby.client_socket = std::make_unique<ClientSocket>();
    layOutLobbyButton(lobby.host_button, {200, 420}, sf::Color(100, 100, 250));
    layOutLobbyButton(lobby.join_button, {500, 420}, sf::Color(100, 250, 100));
    // The address field and its connect button, under the discovered list and its buttons.
    lobby.address_box.setSize({300, 40});
    lobby.address_box.setPosition({200, 530});
    lobby.address_box.setFillColor(sf::Color(30, 30, 40));
    lobby.address_box.setOutlineThickness(2);
    lobby.address_box.setOutlineColor(sf::Color(120, 120, 140));
    layOutLobbyButton(lobby.connect_button, {520, 530}, sf::Color(250, 180, 80));
    lobby.connect_button.setSize({180, 40});
}

// Every loop polls threads_running (the host thread through a short selector wait,
// the others between sleeps of at most 10 ms), so the joins return within a fraction
// of a second whatever the threads were doing.
void shutdownLanLobby(LanLobby& lobby) {
    lobby.threads_running = false;
    lobby.scanning = false;
    joinSlot(lobby.host_thread);
    joinSlot(lobby.receive_thread);
    joinSlot(lobby.scan_thread);
    joinSlot(lobby.announce_thread);
    if (lobby.host_socket) lobby.host_socket->disconnect();
    if (lobby.client_socket) lobby.client_socket->disconnect();
    if (lobby.listener) lobby.listener->close();
    lobby.connected = false;
    lobby.hosting = false;
    lobby.listening = false;
}

void stopNetworking(LanLobby& lobby) {
    shutdownLanLobby(lobby);
    // A socket that was connected or listened once is replaced rather than reused, so
    // the next HOST or JOIN starts exactly as on a fresh start.
    lobby.listener = std::make_unique<HostListener>();
    lobby.host_socket = std::make_unique<sf::TcpSocket>();
    lobby.client_socket = std::make_unique<ClientSocket>();
    lobby.is_host = lobby.connected = lobby.hosting = lobby.listening = lobby.scanning = false;
    lobby.stop_hosting = lobby.stop_dialing = false;
    lobby.dial_outcome = DialOutcome::Idle;
    lobby.connect_line = {};
    lobby.address_focused = false;
    lobby.listen_port = lobby.base_port;
    // The player left on purpose: no "opponent left" notice, and nothing more goes out.
    lobby.peer_was_connected = lobby.opponent_left = false;
    lobby.outbox.clear();
    {
        std::lock_guard<std::mutex> lock(lobby.queue_mutex);
        lobby.message_queue.clear();
    }
    {
        std::lock_guard<std::mutex> lock(lobby.hosts_mutex);
        lobby.found_hosts.clear();
    }
    lobby.threads_running = true;
}

void startHosting(Game& game) { startHosting(game.lobby); }

void startScan(Game& game) { startScan(game.lobby); }

bool connectToHost(Game& game, const HostEntry& host) { return connectToHost(game.lobby, host); }

sf::TcpSocket* peerSocket(LanLobby& lobby) {
    return lobby.is_host ? lobby.host_socket.get() : lobby.client_socket.get();
}
