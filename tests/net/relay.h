#pragma once
#include <SFML/Network.hpp>
#include <atomic>
#include <chrono>
#include <deque>
#include <list>
#include <memory>
#include <random>
#include <thread>
#include <vector>

// A TCP relay on 127.0.0.1 for tests of bad networks (the kernel's netem is not there):
// each connection made to port() is forwarded to the target port, every chunk held back
// by a one-way delay plus up to `jitter` more (never overtaking the chunk before it), and
// the link can be cut on command: while cut, nothing gets through either way, and a
// connection it cut, or one made meanwhile, never carries anything again.
class Relay {
public:
    Relay(unsigned short target, std::chrono::milliseconds one_way_delay, std::chrono::milliseconds extra)
        : target_port(target), delay(one_way_delay), jitter(extra) {
        if (listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost) == sf::Socket::Status::Done)
            listen_port = listener.getLocalPort();
        listener.setBlocking(false);
        worker = std::thread([this] { run(); });
    }

    ~Relay() {
        running = false;
        worker.join();
    }

    unsigned short port() const { return listen_port; }
    void cut() { link_cut = true; }
    void restore() { link_cut = false; }

private:
    using Clock = std::chrono::steady_clock;
    struct Chunk {
        Clock::time_point due;
        std::vector<std::uint8_t> bytes;
    };
    struct Way {  // one direction of one connection
        sf::TcpSocket* from;
        sf::TcpSocket* to;
        std::deque<Chunk> waiting;
    };
    struct Pair {
        std::unique_ptr<sf::TcpSocket> game_end, target_end;
        Way ways[2];
        bool dead = false;  // cut once, or closed
    };

    void run() {
        while (running) {
            auto game_end = std::make_unique<sf::TcpSocket>(), target_end = std::make_unique<sf::TcpSocket>();
            if (listener.accept(*game_end) == sf::Socket::Status::Done && !link_cut &&
                target_end->connect(sf::IpAddress::LocalHost, target_port, sf::seconds(2)) == sf::Socket::Status::Done) {
                game_end->setBlocking(false);
                target_end->setBlocking(false);
                Pair& pair = pairs.emplace_back();
                pair.ways[0] = {game_end.get(), target_end.get(), {}};
                pair.ways[1] = {target_end.get(), game_end.get(), {}};
                pair.game_end = std::move(game_end);
                pair.target_end = std::move(target_end);
            }
            for (Pair& pair : pairs) {
                pair.dead = pair.dead || link_cut;
                // One end left: the other sees the connection end, as it would without us.
                if (pump(pair.ways[0], pair.dead) && pump(pair.ways[1], pair.dead)) continue;
                pair.game_end->disconnect();
                pair.target_end->disconnect();
            }
            pairs.remove_if([](const Pair& pair) { return pair.game_end->getRemotePort() == 0; });
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    bool pump(Way& way, bool dead) {  // false when the connection has ended
        std::uint8_t buffer[4096];
        std::size_t size = 0;
        sf::Socket::Status status = way.from->receive(buffer, sizeof buffer, size);
        if (status == sf::Socket::Status::Disconnected || status == sf::Socket::Status::Error) return false;
        if (dead) return true;  // a cut link swallows what comes
        if (status == sf::Socket::Status::Done) {
            auto extra = std::chrono::milliseconds(jitter.count() > 0 ? rng() % (jitter.count() + 1) : 0);
            Clock::time_point due = Clock::now() + delay + extra;
            if (!way.waiting.empty()) due = std::max(due, way.waiting.back().due);
            way.waiting.push_back({due, std::vector<std::uint8_t>(buffer, buffer + size)});
        }
        while (!way.waiting.empty() && way.waiting.front().due <= Clock::now()) {
            Chunk& chunk = way.waiting.front();
            std::size_t sent = 0;
            status = way.to->send(chunk.bytes.data(), chunk.bytes.size(), sent);
            chunk.bytes.erase(chunk.bytes.begin(), chunk.bytes.begin() + std::ptrdiff_t(sent));
            if (!chunk.bytes.empty()) break;
            way.waiting.pop_front();
        }
        return true;
    }

    unsigned short target_port;
    std::chrono::milliseconds delay, jitter;
    sf::TcpListener listener;
    unsigned short listen_port = 0;
    std::list<Pair> pairs;
    std::mt19937 rng{7};
    std::atomic<bool> link_cut{false};
    std::atomic<bool> running{true};
    std::thread worker;
};
