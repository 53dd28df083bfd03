#include "fuzz_game.h"
#include "net/packet_reader.h"
#include "net/protocol.h"

// A peer's byte stream: framed into messages by the receive thread's reader, then
// handled by the main thread in a running network match, then a few frames played.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Game& game = fuzzGame();
    clearField(game);
    if (size < 1) return 0;
    enterMatch(game, data[0] % 5, (data[0] / 5) % 5, true);
    game.lobby.is_host = data[0] & 0x80;
    // Connected, the link's messages (pause, round trip, rules) take their paths; the
    // replies go nowhere.
    game.lobby.connected = data[0] & 0x40;
    PacketReader reader;
    std::vector<Message> messages;
    // The stream arrives in pieces as the socket delivers it; a bad size ends it.
    std::size_t at = 1;
    for (std::size_t piece = 7; at < size; piece = piece * 3 % 61 + 1) {
        std::size_t length = std::min(piece, size - at);
        if (!readPackets(reader, data + at, length, messages)) break;
        at += length;
    }
    if (messages.size() > kMaxQueuedMessages) messages.resize(kMaxQueuedMessages);
    game.lobby.message_queue = std::move(messages);
    processMessages(game);
    stepFrames(game, 3, 1.0f / 60);
    // The next input meets a game that never met this peer, with its own rules.
    game.lobby.connected = game.lobby.peer_was_connected = false;
    forgetPeer(game);
    return 0;
}
