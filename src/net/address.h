#pragma once
#include <optional>
#include <string>
#include <string_view>

// The host's first port, and the one an address without a port means.
constexpr unsigned short kDefaultGamePort = 55003;
// The longest address the lobby's field takes: a full DNS name, a colon and a port.
constexpr std::size_t kMaxAddressLength = 253 + 6;

// Where to join, as the player typed it: a host name or IPv4 address, and a port.
struct PeerAddress {
    std::string host;
    unsigned short port = kDefaultGamePort;
};

// "host[:port]", with blanks around it ignored. Refused (nullopt): nothing typed, a port
// that is not 1..65535, or a character no host name or IPv4 address holds.
std::optional<PeerAddress> parseAddress(std::string_view text);

// A port number, 1..65535, in decimal digits.
std::optional<unsigned short> parsePort(std::string_view digits);

// "host:port", as the log and the lobby show it.
std::string describeAddress(const PeerAddress& address);
