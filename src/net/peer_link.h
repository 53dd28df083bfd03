#pragma once
#include "content/texts.h"
#include "net/lan_lobby.h"

#include <nlohmann/json.hpp>
#include <cstdint>
#include <string>

struct Game;

// Messages beyond the original set. Each game says on connecting which version it speaks
// (MsgHello); the others go out only to a peer that has said so, so a game built to the
// original messages sees one hello it ignores and nothing else new.
constexpr std::uint8_t kProtocolVersion = 1;

enum PeerMessageType : std::uint8_t {
    MsgHello = 16,       // [16][version][rules hash 8]          both, on connecting
    MsgRulesBegin = 17,  // [17][size 4]                         host, when the rules differ
    MsgRulesPart = 18,   // [18][1..kTextPartBytes bytes]       the host's config.json, in order
    MsgRulesEnd = 19,    // [19]
    MsgPause = 20,       // [20][1 pause / 0 resume]             P in a network match
    MsgPing = 21,        // [21][stamp 4]                        about once a second
    MsgPong = 22,        // [22][stamp 4]                        the ping's stamp, at once
    MsgMatchToken = 23,  // [23][token 8]                        host, at the start of a match
    MsgRejoin = 24,      // [24][token 8]                        joining game, after its hello, holding a token
    MsgRejoinRefused = 25,  // [25]                              host: no such match here
    MsgStateBegin = 26,  // [26][size 4]                         host: the match as the joining game needs it,
    MsgStatePart = 27,   // [27][bytes]                          a JSON text in parts like the rules
    MsgStateEnd = 28,    // [28]
    MsgResume = 29,      // [29]                                 host: the match goes on
};

constexpr std::size_t kHelloLength = 10;
constexpr std::size_t kTextPartBytes = 240;  // within the packet cap of net/packet_reader.h
constexpr std::size_t kPingLength = 5;
constexpr std::size_t kTokenMessageLength = 9;
constexpr std::int64_t kRejoinWaitUs = 60000000;  // a dropped peer has a minute to come back
constexpr std::int64_t kSilenceLimitUs = 2500000;  // a peer that pings and is silent this long is gone
constexpr int kPausesPerMatch = 3;      // each player's
constexpr int kHighRoundTripMs = 150;   // above it the HUD warns
// Far beyond any real config.json; a transfer announcing more is refused.
constexpr std::uint32_t kMaxTextBytes = 256 * 1024;

// A text sent in parts (begin with its size, parts, end), as it comes in.
struct IncomingText {
    bool open = false;
    std::uint32_t size = 0;
    std::string text;
};
enum class TextRead { Incomplete, Complete, Refused };

// Sends text as begin_type [size 4], begin_type + 1 [bytes] in parts, begin_type + 2.
void sendText(Game& game, std::uint8_t begin_type, const std::string& text);
// One message of such a transfer; on Refused, why says why (and the transfer is dropped).
TextRead readTextPart(IncomingText& incoming, const Message& message, std::uint8_t begin_type, std::string& why);

// What the two games know of each other on the current connection.
struct PeerLink {
    unsigned hello_serial = 0;      // the connection our hello went out on
    std::uint8_t peer_version = 0;  // 0 until the peer's hello: it speaks only the original messages
    std::uint64_t own_rules = 0;    // hashes of the rules each side plays by
    std::uint64_t peer_rules = 0;
    // Joining game: the host's config.json as it arrives, and its own while it plays the host's.
    IncomingText incoming_rules;
    bool playing_host_rules = false;
    nlohmann::json own_document;
    Phrase notice;  // what the screens say of the rules while it holds ("" none)
    // Latency: microseconds of real time
    std::int64_t next_ping_us = 0;
    int round_trip_ms = -1;         // the last round trip measured, -1 none yet
    float smoothed_round_trip_ms = -1;  // averaged over the last several, for the snapshots' age
    // The shared pause, counted per match
    int own_pauses = 0;
    int peer_pauses = 0;
    Phrase pause_notice;  // why P did nothing, shown for a few seconds
    std::int64_t pause_notice_until_us = 0;
};

// A match that can outlive its connection: both games know its token, and while the peer
// is away the match is held for it.
struct Rejoin {
    std::uint64_t token = 0;       // this match's; 0: a drop ends the match
    bool waiting = false;          // the match is held until the peer is back
    std::int64_t lost_at_us = 0;   // steady time of the drop
    PeerAddress host;              // joining game: where to connect again
    std::int64_t next_dial_us = 0;
    IncomingText state;            // joining game: the host's account of the match
    std::vector<Message> unheard;  // host: what the peer said before the drop, not yet handled
    std::vector<Message> inbox;    // rejoin messages for the frame step (app/rejoin.h)
};

// Steady time in microseconds, which no test clock replaces: latency and silence are real.
std::int64_t steadyMicroseconds();

// The rules a game plays by, as one number: its effective config.json and levels.json.
std::uint64_t rulesHash(const Game& game);

// Each frame while connected: a connection not yet greeted gets our hello.
void greetPeer(Game& game);
// Whether the peer has said it understands the messages of this version.
bool peerSpeaks(const Game& game, std::uint8_t version);
// MsgHello and the rules transfer.
void receiveHello(Game& game, const Message& message);
void receiveRulesPart(Game& game, const Message& message);
// Link messages are handled every frame, whatever the screen: the rest of the queue
// waits for the match to drain it as it always has.
bool isLinkMessage(std::uint8_t type);
// Each frame while connected: a ping once a second.
void pingPeer(Game& game);
// Answers a ping; takes a pong's round trip and returns its milliseconds (-1 none).
int receivePing(Game& game, const Message& message);
// A round trip measured, into the latest and the smoothed value.
void takeRoundTrip(PeerLink& link, std::uint32_t milliseconds);

// P in a network match whose peer knows the shared pause: pauses both games, or resumes
// both. A player's fourth pause of a match does nothing but say why. Returns whether the
// pause changed.
bool canSharePause(const Game& game);
bool toggleSharedPause(Game& game);
void receivePause(Game& game, const Message& message);
// A new match: every player has their pauses again.
void resetSharedPause(PeerLink& link);

// Host, at the start of a match with a peer that knows rejoining: a fresh token for it.
void offerMatchToken(Game& game);
// Joining game: the host's token for this match, kept (also on disk) until the match ends.
void takeMatchToken(Game& game, const Message& message);
// Whole seconds left of the minute a held match waits, for the screen.
int rejoinSecondsLeft(const Game& game);
// A match this game had joined and not finished (remembered on disk): it asks for it on
// its next connect.
void recallMatch(Game& game);
// The match is over for good: no token any more, on disk either.
void forgetMatchToken(Game& game);

// Each frame: a peer that speaks this version and has been silent for kSilenceLimitUs is
// dropped as lost.
void dropSilentPeer(Game& game);

// The connection is over (while the match is held for the peer, only what belongs to the
// connection goes): a joining game that played the host's rules takes its own back.
void forgetPeer(Game& game);
