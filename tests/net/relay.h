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
    Relay(unsigned short target_port, std::chrono::milliseconds one_way_delay, std::chrono::milliseconds jitter);
    ~Relay();

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

    void run();
    bool pump(Way& way, bool dead);  // false when the connection has ended

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
