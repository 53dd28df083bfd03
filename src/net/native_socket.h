#pragma once
#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/SocketHandle.hpp>
#include <functional>

// The few socket steps SFML does not offer, on the system's own sockets; SFML's socket
// classes then take the handles over.

enum class DialResult { Connected, Refused, NoAnswer, Cancelled };

// Opens a TCP connection to address:port on a socket of its own, waiting at most
// timeout_ms. keep_going() is asked every few milliseconds, so a game that shuts down
// never waits for an address that does not answer. On Connected, handle is the
// connected socket and belongs to the caller; otherwise nothing is left open.
// Refused: the machine answered that nothing listens there. NoAnswer: no answer in
// time, or the machine cannot be reached at all.
DialResult dial(const sf::IpAddress& address, unsigned short port, int timeout_ms,
                const std::function<bool()>& keep_going, sf::SocketHandle& handle);

// A socket listening on port of every local address, or false. Where the system allows it
// (not on Windows, where the option would let another program take the port), the port
// is taken even while connections of an earlier match on it are still winding down, so a
// host that hosts again is found on the same port.
bool listenOn(unsigned short port, sf::SocketHandle& handle);
