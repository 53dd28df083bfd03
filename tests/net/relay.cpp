#include "net/relay.h"

Relay::Relay(unsigned short target, std::chrono::milliseconds one_way_delay, std::chrono::milliseconds extra)
    : target_port(target), delay(one_way_delay), jitter(extra) {
    if (listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost) == sf::Socket::Status::Done)
        listen_port = listener.getLocalPort();
    listener.setBlocking(false);
    worker = std::thread([this] { run(); });
}

Relay::~Relay() {
    running = false;
    worker.join();
}

void Relay::run() {
    while (running) {
        auto game_end = std::make_unique<sf::TcpSocket>();
        if (listener.accept(*game_end) == sf::Socket::Status::Done && !link_cut) {
            auto target_end = std::make_unique<sf::TcpSocket>();
            if (target_end->connect(sf::IpAddress::LocalHost, target_port, sf::seconds(2)) == sf::Socket::Status::Done) {
                game_end->setBlocking(false);
                target_end->setBlocking(false);
                pairs.push_back(Pair{std::move(game_end), std::move(target_end), {}, {}, false, false});
            }
        }
        for (Pair& pair : pairs) pump(pair);
        pairs.remove_if([](const Pair& pair) { return pair.closed; });
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void Relay::pump(Pair& pair) {
    if (link_cut) pair.cut_off = true;
    carry(*pair.game_end, pair.to_far, pair);
    carry(*pair.target_end, pair.to_near, pair);
    deliver(*pair.target_end, pair.to_far, pair);
    deliver(*pair.game_end, pair.to_near, pair);
}

// What arrived is stamped with when it may go on; a cut link swallows it.
void Relay::carry(sf::TcpSocket& from, Direction& direction, Pair& pair) {
    std::uint8_t buffer[4096];
    std::size_t received = 0;
    sf::Socket::Status status = from.receive(buffer, sizeof buffer, received);
    if (status == sf::Socket::Status::Disconnected || status == sf::Socket::Status::Error) {
        // One end left: the other sees the connection end, as it would without us.
        pair.game_end->disconnect();
        pair.target_end->disconnect();
        pair.closed = true;
        return;
    }
    if (status != sf::Socket::Status::Done || pair.cut_off) return;
    auto extra = std::chrono::milliseconds(jitter.count() > 0 ? rng() % (jitter.count() + 1) : 0);
    Clock::time_point due = std::max(Clock::now() + delay + extra, direction.last_due);
    direction.last_due = due;
    direction.waiting.push_back(Chunk{due, std::vector<std::uint8_t>(buffer, buffer + received)});
}

void Relay::deliver(sf::TcpSocket& to, Direction& direction, Pair& pair) {
    while (!direction.waiting.empty() && !pair.closed && !pair.cut_off && direction.waiting.front().due <= Clock::now()) {
        Chunk& chunk = direction.waiting.front();
        std::size_t sent = 0;
        sf::Socket::Status status = to.send(chunk.bytes.data(), chunk.bytes.size(), sent);
        if (status == sf::Socket::Status::Partial || (status == sf::Socket::Status::NotReady && sent > 0)) {
            chunk.bytes.erase(chunk.bytes.begin(), chunk.bytes.begin() + std::ptrdiff_t(sent));
            return;
        }
        if (status != sf::Socket::Status::Done) return;
        direction.waiting.pop_front();
    }
}
