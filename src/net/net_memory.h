#pragma once
#include <string>

// What the lobby remembers between runs, in a small JSON file in the user's data folder:
// {"last_address": "host:port"}.
struct NetMemory {
    std::string file;          // where it is kept; "" when the user has no data folder
    bool kept = true;          // false: nothing is read or written (a headless game)
    std::string last_address;  // the last address this game joined, as typed
};

// network.json in the user's data folder (content/places.h); "" when there is none.
std::string netMemoryFilePath();

// Reads memory.file. A missing file remembers nothing; an unreadable one costs a log line.
void loadNetMemory(NetMemory& memory);

// Keeps the address that just connected, writing the file at once (replaced whole, so a
// crash mid-write leaves the old one). A failure costs one log line.
void rememberAddress(NetMemory& memory, const std::string& address);
