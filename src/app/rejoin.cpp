#include "app/rejoin.h"
#include "app/clock.h"
#include "app/game.h"
#include "app/log.h"
#include "app/update.h"
#include "battle/turret.h"
#include "content/factions.h"
#include "net/protocol.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr std::int64_t kRedialUs = 1000000;  // the joining game tries again every second
const char kBackLine[] = "✅ 对手已重新连接，对局继续";

void holdClocks(Game& game) {
    if (!game.paused) holdMatchClocks();
}

void releaseClocks(Game& game) {
    if (!game.paused) releaseMatchClocks();
}

nlohmann::json levelsOf(const UpgradeState& state) {
    return nlohmann::json(std::vector<int>(std::begin(state.levels), std::end(state.levels)));
}

// The match as the host sees it, told from the host's side: [host, joining game].
std::string matchState(const Game& game) {
    const BattleSync& sync = game.sync;
    nlohmann::json state = {
        {"factions", {game.player_faction, game.enemy_faction}},
        {"money", {game.player_money, game.enemy_money}},
        {"levels", {levelsOf(game.player_upgrades), levelsOf(game.enemy_upgrades)}},
        {"laser", {int(game.player_upgrades.laser_upgrades), int(game.enemy_upgrades.laser_upgrades)}},
        {"match_seconds", game.match_clock.elapsedSeconds()},
        {"income_seconds", game.income_clock.elapsedSeconds()},
        {"spawned", {sync.spawned[0], sync.spawned[1]}},
        {"key_spawned", sync.key_spawned},
        {"base_damage", {sync.base_damage[0], sync.base_damage[1]}},
    };
    return state.dump();
}

void resume(Game& game) {
    game.rejoin.waiting = false;
    game.lobby.quiet_dial = false;
    releaseClocks(game);
    logLine(kBackLine);
}

// Host: the same match's peer is back; it hears the whole match, then a snapshot. What it
// said before the drop is handled first, as it would have been.
void takeBack(Game& game) {
    {
        std::lock_guard<std::mutex> lock(game.lobby.queue_mutex);
        auto& queue = game.lobby.message_queue;
        queue.insert(queue.begin(), std::make_move_iterator(game.rejoin.unheard.begin()),
                     std::make_move_iterator(game.rejoin.unheard.end()));
    }
    game.rejoin.unheard.clear();
    sendText(game, MsgStateBegin, matchState(game));
    sendMessage(game, {MsgResume});
    recordCommand(game.replay, commandOf(ReplayCommandKind::TakenBack));
    resumeTakenBack(game);
}

void turnAway(Game& game) {
    sendMessage(game, {MsgRejoinRefused});
    flushOutbox(game.lobby);
    if (!game.rejoin.waiting) return;
    // Someone else's game while ours is held: the line is closed and we listen again.
    if (sf::TcpSocket* socket = peerSocket(game.lobby)) shutDownSocket(*socket);
    loseConnection(game.lobby, "⚠️ 拒绝了另一局的对手");
}

void hostHears(Game& game, const Message& message) {
    if (message[0] != MsgRejoin) return;
    std::uint64_t token = 0;
    for (std::size_t i = 1; i < kTokenMessageLength; ++i) token = token << 8 | message[i];
    if (game.rejoin.waiting && token == game.rejoin.token)
        takeBack(game);
    else
        turnAway(game);
}

template <typename T>
bool readNumber(const nlohmann::json& value, T low, T high, T& into) {
    if (!value.is_number()) return false;
    double number = value.get<double>();
    if (!std::isfinite(number) || number < double(low) || number > double(high)) return false;
    into = T(number);
    return true;
}

struct MatchState {
    int factions[2] = {};
    float money[2] = {};
    int levels[2][kUpgradeStatCount] = {};
    int laser[2] = {};
    float match_seconds = 0, income_seconds = 0;
    std::uint16_t spawned[2] = {};
    std::uint16_t key_spawned = 0;
    float base_damage[2] = {};
};

// Every field present, of its type and within what a match can hold; anything else is
// not a host's account of a match.
bool readState(const std::string& text, MatchState& state) {
    nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
    if (!root.is_object()) return false;
    auto pair = [&](const char* key) -> const nlohmann::json* {
        auto found = root.find(key);
        return found != root.end() && found->is_array() && found->size() == 2 ? &*found : nullptr;
    };
    const nlohmann::json *factions = pair("factions"), *money = pair("money"), *levels = pair("levels"),
                         *laser = pair("laser"), *spawned = pair("spawned"), *damage = pair("base_damage");
    if (!factions || !money || !levels || !laser || !spawned || !damage) return false;
    const float kMoneyLimit = 1e12f;
    for (int side = 0; side < 2; ++side) {
        const nlohmann::json& side_levels = (*levels)[side];
        if (!side_levels.is_array() || side_levels.size() != kUpgradeStatCount) return false;
        for (int stat = 0; stat < kUpgradeStatCount; ++stat)
            if (!readNumber(side_levels[stat], 0, kMaxUpgradeLevel, state.levels[side][stat])) return false;
        if (!readNumber((*factions)[side], 0, kFactionCount - 1, state.factions[side]) ||
            !readNumber((*money)[side], -kMoneyLimit, kMoneyLimit, state.money[side]) ||
            !readNumber((*laser)[side], 0, kMaxUpgradeLevel, state.laser[side]) ||
            !readNumber<std::uint16_t>((*spawned)[side], 0, 0x7FFF, state.spawned[side]) ||
            !readNumber((*damage)[side], 0.0f, kMoneyLimit, state.base_damage[side]))
            return false;
    }
    auto key = [&](const char* name) { return root.contains(name) ? root[name] : nlohmann::json(); };
    return readNumber(key("match_seconds"), 0.0f, 1e7f, state.match_seconds) &&
           readNumber(key("income_seconds"), 0.0f, 1e7f, state.income_seconds) &&
           readNumber<std::uint16_t>(key("key_spawned"), 0, 0x7FFF, state.key_spawned);
}

// A game that was restarted knows nothing of the match: it takes the factions and the
// upgrades the host has seen bought, and enters the match.
void enterMatchAgain(Game& game, const MatchState& state) {
    clearMatch(game);
    game.game_started = game.network_mode = game.lobby_active = true;
    game.faction_confirmed = game.opponent_ready = true;
    game.level_select_active = false;
    game.hovered_faction = -1;
    game.player_faction = state.factions[1];
    game.enemy_faction = state.factions[0];
    restoreUpgradeLevels(game, true, state.levels[1], state.laser[1]);
    restoreUpgradeLevels(game, false, state.levels[0], 0);
}

// Joining game: the host's account of the match replaces its own where they differ.
void takeState(Game& game, const MatchState& state) {
    if (!game.level_running) enterMatchAgain(game, state);
    game.level_running = true;
    game.player_money = state.money[1];
    game.enemy_money = state.money[0];
    game.match_clock.restartAgo(state.match_seconds);
    game.income_clock.restartAgo(state.income_seconds);
    BattleSync& sync = game.sync;
    sync.spawned = {state.spawned[1], state.spawned[0]};
    sync.key_spawned = state.key_spawned;
    sync.base_damage = {state.base_damage[1], state.base_damage[0]};
    // Our spawns the host never heard of went down with the old connection.
    auto& own = game.player_turrets;
    own.erase(std::remove_if(own.begin(), own.end(),
                             [&](const Turret& unit) {
                                 return !(unit.net_number & kKeySpawnNumbers) && unit.net_number > state.spawned[1];
                             }),
              own.end());
    game.selection.clear();
    game.inspected_unit = -1;
}

void joinerHears(Game& game, const Message& message) {
    Rejoin& rejoin = game.rejoin;
    switch (message[0]) {
        case MsgRejoinRefused:
            logLine("⚠️ 主机那里没有这一局了");
            if (rejoin.waiting) {
                rejoin.waiting = false;
                releaseClocks(game);
                endGameWithoutOpponent(game);
            }
            forgetMatchToken(game);
            return;
        case MsgStateBegin:
        case MsgStatePart:
        case MsgStateEnd: {
            std::string why;
            TextRead read = readTextPart(rejoin.state, message, MsgStateBegin, why);
            MatchState state;
            if (read == TextRead::Complete && readState(rejoin.state.text, state)) {
                holdClocks(game);  // a restarted game was not held; the resume releases
                rejoin.waiting = true;
                takeState(game, state);
            } else if (read != TextRead::Incomplete) {
                logLine("⚠️ 收到无效的对局状态，已丢弃");
            }
            return;
        }
        case MsgResume:
            if (rejoin.waiting) resume(game);
            return;
        default: return;
    }
}

void tryAgain(Game& game) {
    LanLobby& lobby = game.lobby;
    Rejoin& rejoin = game.rejoin;
    if (lobby.connected) return;
    if (lobby.is_host) {
        if (!lobby.hosting) startHostThread(lobby);  // the same port; no beacon
        return;
    }
    std::int64_t now = steadyMicroseconds();
    if (lobby.dial_outcome == DialOutcome::Dialing || now < rejoin.next_dial_us) return;
    rejoin.next_dial_us = now + kRedialUs;
    lobby.quiet_dial = true;
    startDialing(lobby, rejoin.host);
}

void giveUp(Game& game) {
    LanLobby& lobby = game.lobby;
    game.rejoin.waiting = false;
    lobby.quiet_dial = false;
    releaseClocks(game);
    if (lobby.is_host) stopHosting(lobby);
    lobby.stop_dialing = true;
    forgetMatchToken(game);
    forgetPeer(game);
    endGameWithoutOpponent(game);
}
}  // namespace

void resumeTakenBack(Game& game) {
    game.sync.death_unshared = true;  // a snapshot with the next frame
    resume(game);
}

bool canHoldForRejoin(const Game& game) {
    return game.network_mode && game.level_running && !game.game_over && game.rejoin.token != 0 &&
           !game.rejoin.waiting;
}

void holdForRejoin(Game& game) {
    Rejoin& rejoin = game.rejoin;
    rejoin.waiting = true;
    rejoin.lost_at_us = steadyMicroseconds();
    rejoin.next_dial_us = rejoin.lost_at_us;
    rejoin.state = IncomingText();
    // The next connection starts with an empty queue. The host keeps what the peer said
    // before the drop for the match's return; the joining game takes the host's account of
    // the match instead.
    {
        std::lock_guard<std::mutex> lock(game.lobby.queue_mutex);
        if (game.lobby.is_host) rejoin.unheard = std::move(game.lobby.message_queue);
        game.lobby.message_queue.clear();
    }
    holdClocks(game);
    game.box_selecting = false;
    logLine("⚠️ 连接中断，等待对手重新连接");
}

void followRejoin(Game& game) {
    Rejoin& rejoin = game.rejoin;
    std::vector<Message> inbox;
    inbox.swap(rejoin.inbox);
    for (const Message& message : inbox) {
        if (game.lobby.is_host)
            hostHears(game, message);
        else
            joinerHears(game, message);
    }
    // A replay's wait ends as recorded, never by the clock.
    if (!rejoin.waiting || game.replay.playing) return;
    if (steadyMicroseconds() - rejoin.lost_at_us >= kRejoinWaitUs) return giveUp(game);
    tryAgain(game);
}
