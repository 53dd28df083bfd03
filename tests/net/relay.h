#pragma once
#include <SFML/Network.hpp>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

// A TCP relay on 127.0.0.1 for tests of bad networks (the kernel's netem is not there):
// each connection made to port() is forwarded to the target port, every chunk held back
// by a one-way delay plus up to `jitter` more (never overtaking the chunk before it), and
// the link can be cut on command: while cut, nothing gets through either way and new
// connections are closed at once.
class Relay {
public:
    Relay(unsigned short target_port, std::chrono::milliseconds one_way_delay, std::chrono::milliseconds jitter);
    ~Relay();
    Relay(const Relay&) = delete;
    Relay& operator=(const Relay&) = delete;

    unsigned short port() const { return listen_port; }
    void cut() { link_cut = true; }
    void restore() { link_cut = false; }

private:
    using Clock = std::chrono::steady_clock;
    struct Chunk {
        Clock::time_point due;
        std::vector<std::uint8_t> bytes;
    };
    struct Direction {
        std::deque<Chunk> waiting;
        Clock::time_point last_due{};
    };
    struct Pair {
        std::unique_ptr<sf::TcpSocket> game_end, target_end;  // the game that connected, the target
        Direction to_far, to_near;
        bool cut_off = false;  // cut once: this pair never carries anything again
        bool closed = false;
    };

    void run();
    void pump(Pair& pair);
    void carry(sf::TcpSocket& from, Direction& direction, Pair& pair);
    void deliver(sf::TcpSocket& to, Direction& direction, Pair& pair);

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
