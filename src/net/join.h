#pragma once
#include "net/address.h"

#include <string>

struct LanLobby;

// Joining by address, as the lobby's field, its connect button and --join do it. A text
// that is no address says so on the lobby's line; a good one starts the connect in the
// background. Returns whether a connect started.
bool joinByAddress(LanLobby& lobby, const std::string& text);

// Main thread, each frame: a connect that has ended is reported once, on the lobby's line
// and in the log, and an address that connected is remembered.
void followDial(LanLobby& lobby);

// How the address is written back into the field and the memory: the port only when it
// is not the usual one.
std::string addressText(const PeerAddress& address);
