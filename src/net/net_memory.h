#pragma once
#include <cstdint>
#include <string>

// What the lobby remembers between runs, in a small JSON file in the user's data folder:
// {"last_address": "host:port", "match": {"token": "<16 hex digits>", "host": "host:port"}}.
// The match is there only while a match this game joined runs, so that a game restarted
// meanwhile can come back to it.
struct NetMemory {
    std::string file;          // where it is kept; "" when the user has no data folder
    bool kept = true;          // false: nothing is read or written (a headless game)
    std::string last_address;  // the last address this game joined, as typed
    std::uint64_t match_token = 0;  // 0: no match to come back to
    std::string match_host;
};

// network.json in the user's data folder (content/places.h); "" when there is none.
std::string netMemoryFilePath();

// Reads memory.file. A missing file remembers nothing; an unreadable one costs a log line.
void loadNetMemory(NetMemory& memory);

// Keeps the address that just connected, writing the file at once (replaced whole, so a
// crash mid-write leaves the old one). A failure costs one log line.
void rememberAddress(NetMemory& memory, const std::string& address);
// The running match's token and host, kept until the match ends; then forgotten.
void rememberMatch(NetMemory& memory, std::uint64_t token, const std::string& host);
void forgetMatch(NetMemory& memory);
