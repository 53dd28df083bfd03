#pragma once
#include "net/lan_lobby.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The longest message, a packet of snapshot units, is 221 bytes; a peer announcing more
// than this is not one of us.
constexpr std::uint32_t kMaxPacketBytes = 256;

// Reassembles SFML's packet framing (a 4-byte big-endian size, then that many payload
// bytes) from a stream that arrives in arbitrary pieces.
struct PacketReader {
    std::array<std::uint8_t, 4> header{};
    std::size_t header_filled = 0;
    std::uint32_t payload_size = 0;
    Message payload;
};

// Appends every packet completed by these bytes to `complete`, in order; empty packets
// are dropped. Returns false when a packet announces more than kMaxPacketBytes.
bool readPackets(PacketReader& reader, const std::uint8_t* data, std::size_t size, std::vector<Message>& complete);
