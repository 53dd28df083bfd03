#include "net/peer_link.h"
#include "app/clock.h"
#include "app/game.h"
#include "app/log.h"
#include "battle/match.h"
#include "content/config.h"
#include "content/data_check.h"
#include "net/protocol.h"

#include <chrono>
#include <random>

namespace {

// FNV-1a, 64 bits: the same text gives the same number on every machine.
std::uint64_t hashText(const std::string& text, std::uint64_t hash = 1469598103934665603ull) {
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// A missing config.json plays exactly as an empty one.
nlohmann::json effectiveConfig() {
    const nlohmann::json& document = Config::instance().document;
    return document.is_null() ? nlohmann::json::object() : document;
}

void appendNumber(Message& bytes, std::uint64_t value, int byte_count) {
    for (int shift = 8 * (byte_count - 1); shift >= 0; shift -= 8) bytes.push_back(std::uint8_t(value >> shift));
}

std::uint64_t readNumber(const Message& bytes, std::size_t at, int byte_count) {
    std::uint64_t value = 0;
    for (int i = 0; i < byte_count; ++i) value = value << 8 | bytes[at + std::size_t(i)];
    return value;
}

void sendRules(Game& game) { sendText(game, MsgRulesBegin, effectiveConfig().dump()); }

void refuseRules(Game& game, const std::string& why) {
    PeerLink& link = game.link;
    link.notice = {"net.rules_unusable", {why}};
    logLine(chineseText(link.notice));
}

// The host's rules replace ours for this connection; a match not yet begun starts with
// the host's money.
void playHostRules(Game& game, nlohmann::json document) {
    PeerLink& link = game.link;
    Config& config = Config::instance();
    if (!link.playing_host_rules) link.own_document = config.document;
    config.document = std::move(document);
    link.playing_host_rules = true;
    if (!game.level_running) readStartMoney(game);
    logLine("✅ 已载入主机的规则");
}

void finishRules(Game& game, const std::string& text) {
    std::vector<DataProblem> problems = checkConfigText(text);
    if (!problems.empty()) return refuseRules(game, problems.front().message);
    nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded()) return refuseRules(game, "not JSON");
    playHostRules(game, std::move(document));
}
}  // namespace

std::uint64_t rulesHash(const Game& game) {
    std::uint64_t hash = hashText(effectiveConfig().dump());
    return hashText(nlohmann::json(game.all_levels).dump(), hash);
}

void greetPeer(Game& game) {
    LanLobby& lobby = game.lobby;
    PeerLink& link = game.link;
    if (!lobby.connected || link.hello_serial == lobby.connection_serial) return;
    link.hello_serial = lobby.connection_serial;
    link.peer_version = 0;
    link.own_rules = rulesHash(game);
    Message hello{MsgHello, kProtocolVersion};
    appendNumber(hello, link.own_rules, 8);
    sendMessage(game, hello);
    // A joining game with a match to come back to asks for it at once.
    if (!lobby.is_host && game.rejoin.token != 0) {
        Message rejoin{MsgRejoin};
        appendNumber(rejoin, game.rejoin.token, 8);
        sendMessage(game, rejoin);
    }
}

std::int64_t steadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void offerMatchToken(Game& game) {
    if (!game.lobby.is_host || !peerSpeaks(game, 1)) return;
    std::random_device source;
    std::uint64_t token = 0;
    while (token == 0) token = std::uint64_t(source()) << 32 | source();
    game.rejoin = Rejoin();
    game.rejoin.token = token;
    Message offer{MsgMatchToken};
    appendNumber(offer, token, 8);
    sendMessage(game, offer);
}

// The token may come in the same frame as the host's ready, before this game starts.
void takeMatchToken(Game& game, const Message& message) {
    if (game.lobby.is_host) return;
    std::uint64_t token = readNumber(message, 1, 8);
    if (token == 0) return;
    game.rejoin.token = token;
    game.rejoin.host = game.lobby.dial_target;
    rememberMatch(game.lobby.memory, token, describeAddress(game.lobby.dial_target));
}

int rejoinSecondsLeft(const Game& game) {
    std::int64_t left = kRejoinWaitUs - (steadyMicroseconds() - game.rejoin.lost_at_us);
    return int(std::max<std::int64_t>(0, (left + 999999) / 1000000));
}

void recallMatch(Game& game) {
    const NetMemory& memory = game.lobby.memory;
    std::optional<PeerAddress> host = parseAddress(memory.match_host);
    if (!host || memory.match_token == 0) return;
    game.rejoin.token = memory.match_token;
    game.rejoin.host = *host;
}

void forgetMatchToken(Game& game) {
    game.rejoin = Rejoin();
    // A replay played back never touches the token of a match the player may yet rejoin.
    if (!game.replay.playing) forgetMatch(game.lobby.memory);
}

bool peerSpeaks(const Game& game, std::uint8_t version) {
    return game.lobby.connected && game.link.peer_version >= version;
}

void receiveHello(Game& game, const Message& message) {
    PeerLink& link = game.link;
    link.peer_version = std::max<std::uint8_t>(message[1], 1);
    link.peer_rules = readNumber(message, 2, 8);
    logLine("Peer speaks version ", int(link.peer_version));
    // A match that started before the hello came (a ready sent in the first frame) gets
    // its token now.
    if (game.level_running && !game.game_over && game.rejoin.token == 0) offerMatchToken(game);
    if (link.peer_rules == link.own_rules || link.playing_host_rules) return;
    link.notice = {"net.rules_differ", {}};
    logLine(chineseText(link.notice));
    if (game.lobby.is_host) sendRules(game);
}

void receiveRulesPart(Game& game, const Message& message) {
    if (game.lobby.is_host) return;  // only the host's rules count
    std::string why;
    TextRead read = readTextPart(game.link.incoming_rules, message, MsgRulesBegin, why);
    if (read == TextRead::Refused) refuseRules(game, why);
    if (read == TextRead::Complete) finishRules(game, game.link.incoming_rules.text);
}

void sendText(Game& game, std::uint8_t begin_type, const std::string& text) {
    Message begin{begin_type};
    appendNumber(begin, text.size(), 4);
    sendMessage(game, begin);
    for (std::size_t at = 0; at < text.size(); at += kTextPartBytes) {
        Message part{std::uint8_t(begin_type + 1)};
        std::size_t end = std::min(text.size(), at + kTextPartBytes);
        part.insert(part.end(), text.begin() + std::ptrdiff_t(at), text.begin() + std::ptrdiff_t(end));
        sendMessage(game, part);
    }
    sendMessage(game, {std::uint8_t(begin_type + 2)});
}

TextRead readTextPart(IncomingText& incoming, const Message& message, std::uint8_t begin_type, std::string& why) {
    auto refuse = [&](std::string reason) {
        incoming = IncomingText();
        why = std::move(reason);
        return TextRead::Refused;
    };
    if (message[0] == begin_type) {
        incoming = IncomingText();
        incoming.size = std::uint32_t(readNumber(message, 1, 4));
        if (incoming.size > kMaxTextBytes) return refuse("超过 " + std::to_string(kMaxTextBytes) + " 字节");
        incoming.open = true;
        return TextRead::Incomplete;
    }
    if (!incoming.open) return TextRead::Incomplete;
    if (message[0] == begin_type + 1) {
        if (incoming.text.size() + message.size() - 1 > incoming.size) return refuse("超过宣布的大小");
        incoming.text.append(message.begin() + 1, message.end());
        return TextRead::Incomplete;
    }
    incoming.open = false;
    if (incoming.text.size() != incoming.size) return refuse("传输不完整");
    return TextRead::Complete;
}

bool isLinkMessage(std::uint8_t type) { return type >= MsgHello && type <= MsgResume; }

namespace {
constexpr std::int64_t kPingIntervalUs = 1000000;
constexpr std::int64_t kPauseNoticeUs = 3000000;

std::uint32_t stampNow() { return std::uint32_t(steadyMicroseconds() / 1000); }
}  // namespace

void pingPeer(Game& game) {
    PeerLink& link = game.link;
    if (!peerSpeaks(game, 1)) return;
    std::int64_t now = steadyMicroseconds();
    if (now < link.next_ping_us) return;
    link.next_ping_us = now + kPingIntervalUs;
    Message ping{MsgPing};
    appendNumber(ping, stampNow(), 4);
    sendMessage(game, ping);
}

int receivePing(Game& game, const Message& message) {
    if (message[0] == MsgPing) {
        Message pong(message.begin(), message.begin() + kPingLength);
        pong[0] = MsgPong;
        sendMessage(game, pong);
        return -1;
    }
    // Our own stamp back: milliseconds wrap together, so the difference is exact.
    std::uint32_t sent = std::uint32_t(readNumber(message, 1, 4));
    std::uint32_t elapsed = stampNow() - sent;
    if (elapsed >= 60000) return -1;
    takeRoundTrip(game.link, elapsed);
    return int(elapsed);
}

void takeRoundTrip(PeerLink& link, std::uint32_t milliseconds) {
    link.round_trip_ms = int(milliseconds);
    float& smoothed = link.smoothed_round_trip_ms;
    smoothed = smoothed < 0 ? float(milliseconds) : smoothed + (float(milliseconds) - smoothed) * 0.25f;
}

bool canSharePause(const Game& game) {
    return game.network_mode && game.faction_confirmed && game.level_running && !game.game_over &&
           peerSpeaks(game, 1);
}

namespace {
void holdMatch(Game& game) {
    holdMatchClocks();
    game.paused = true;
}

void releaseMatch(Game& game) {
    releaseMatchClocks();
    game.paused = false;
}
}  // namespace

bool toggleSharedPause(Game& game) {
    PeerLink& link = game.link;
    if (game.rejoin.waiting) return false;  // the wait for the peer is no pause to end
    if (game.paused) {
        releaseMatch(game);
        sendMessage(game, {MsgPause, 0});
        logLine("▶ 游戏继续");
        return true;
    }
    if (!canSharePause(game)) return false;
    if (link.own_pauses >= kPausesPerMatch) {
        link.pause_notice = {"net.pauses_used", {std::to_string(kPausesPerMatch)}};
        link.pause_notice_until_us = realNowMicroseconds() + kPauseNoticeUs;
        logLine("⚠️ ", chineseText(link.pause_notice));
        return false;
    }
    ++link.own_pauses;
    holdMatch(game);
    sendMessage(game, {MsgPause, 1});
    logLine("⏸ 游戏已暂停");
    return true;
}

void receivePause(Game& game, const Message& message) {
    PeerLink& link = game.link;
    if (message[1] == 0 && game.paused) {
        releaseMatch(game);
        logLine("▶ 对手继续了游戏");
        return;
    }
    // A peer is held to the same limit as we are.
    if (message[1] != 1 || game.paused || !canSharePause(game) || link.peer_pauses >= kPausesPerMatch) return;
    ++link.peer_pauses;
    holdMatch(game);
    logLine("⏸ 对手暂停了游戏");
}

void resetSharedPause(PeerLink& link) {
    link.own_pauses = link.peer_pauses = 0;
    link.pause_notice = {};
}

void dropSilentPeer(Game& game) {
    LanLobby& lobby = game.lobby;
    if (!peerSpeaks(game, 1)) return;
    if (steadyMicroseconds() - lobby.last_heard_us < kSilenceLimitUs) return;
    // A peer that pings every second and has said nothing for this long is gone, even if
    // the connection still looks open (a cable pulled, a link that drops everything).
    if (sf::TcpSocket* socket = peerSocket(lobby)) shutDownSocket(*socket);
    loseConnection(lobby, "连接已断开");
}

void forgetPeer(Game& game) {
    PeerLink& link = game.link;
    if (game.rejoin.waiting) {
        // Held for the peer's return: the rules and the pauses of this match stay.
        link.hello_serial = 0;
        link.peer_version = 0;
        link.round_trip_ms = -1;
        link.smoothed_round_trip_ms = -1;
        link.incoming_rules = IncomingText();
        return;
    }
    if (link.playing_host_rules) {
        Config::instance().document = std::move(link.own_document);
        if (!game.level_running) readStartMoney(game);
        logLine("✅ 已恢复自己的规则");
    }
    link = PeerLink();
}
