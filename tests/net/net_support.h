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
