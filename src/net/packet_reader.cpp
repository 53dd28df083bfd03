#include "net/packet_reader.h"

bool readPackets(PacketReader& reader, const std::uint8_t* data, std::size_t size, std::vector<Message>& complete) {
    std::size_t at = 0;
    while (at < size) {
        if (reader.header_filled < reader.header.size()) {
            reader.header[reader.header_filled++] = data[at++];
            if (reader.header_filled < reader.header.size()) continue;
            reader.payload_size = std::uint32_t(reader.header[0]) << 24 | std::uint32_t(reader.header[1]) << 16 |
                                  std::uint32_t(reader.header[2]) << 8 | std::uint32_t(reader.header[3]);
            if (reader.payload_size > kMaxPacketBytes) return false;
            reader.payload.clear();
        } else {
            reader.payload.push_back(data[at++]);
        }
        if (reader.payload.size() < reader.payload_size) continue;
        if (!reader.payload.empty()) complete.push_back(std::move(reader.payload));
        reader.payload = Message();
        reader.header_filled = 0;
    }
    return true;
}
