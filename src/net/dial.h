#pragma once
#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/SocketHandle.hpp>
#include <functional>

enum class DialResult { Connected, Refused, NoAnswer, Cancelled };

// Opens a TCP connection to address:port on a socket of its own, waiting at most
// timeout_ms. keep_going() is asked every few milliseconds, so a game that shuts down
// never waits for an address that does not answer. On Connected, handle is the
// connected socket and belongs to the caller; otherwise nothing is left open.
// Refused: the machine answered that nothing listens there. NoAnswer: no answer in
// time, or the machine cannot be reached at all.
DialResult dial(const sf::IpAddress& address, unsigned short port, int timeout_ms,
                const std::function<bool()>& keep_going, sf::SocketHandle& handle);
