#include "net/protocol.h"
#include "app/game.h"
#include "app/log.h"
#include "content/replay_start.h"
#include "battle/turret.h"
#include "content/factions.h"
#include "content/upgrades.h"
#include "net/peer_link.h"
#include "net/snapshot.h"

#include <SFML/Network/Packet.hpp>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Bytes each type needs; 0 for types nobody understands.
std::size_t messageLength(std::uint8_t type) {
    switch (type) {
        case MsgHandshake: return 4;
        case MsgOldSpawn: return 2;
        case MsgFaction: return 2;
        case MsgOldUpgrade: return 2;
        case MsgSpawn: return 3;
        case MsgMoneySync: return 3;
        case MsgTurretDeath: return 3;
        case MsgUpgrade: return 2;
        case MsgReady: return 2;
        case MsgSnapshotBegin:
        case MsgSnapshotUnits:
        case MsgSnapshotEnd: return 1;  // each part checks its own length
        case MsgMoveOrder: return kMoveOrderLength;
        case MsgHello: return kHelloLength;
        case MsgRulesBegin: return 5;
        case MsgRulesPart: return 2;
        case MsgRulesEnd: return 1;
        case MsgPause: return 2;
        case MsgPing:
        case MsgPong: return kPingLength;
        case MsgMatchToken:
        case MsgRejoin: return kTokenMessageLength;
        case MsgRejoinRefused:
        case MsgStateEnd:
        case MsgResume: return 1;
        case MsgStateBegin: return 5;
        case MsgStatePart: return 2;
        default: return 0;
    }
}

bool isSnapshotPart(std::uint8_t type) {
    return type == MsgSnapshotBegin || type == MsgSnapshotUnits || type == MsgSnapshotEnd;
}

bool isMatchMessage(std::uint8_t type) {
    return type == MsgSpawn || type == MsgMoneySync || type == MsgTurretDeath || type == MsgUpgrade ||
           isSnapshotPart(type) || type == MsgMoveOrder;
}

bool isLane(int lane) { return lane >= 0 && lane < 3; }

// What a replay keeps of the peer's messages: all that can change this side's match.
// Pings change nothing (a pong is kept as its round trip), the rules and the match token
// came before the match and hold for it, and a host's taking its peer back is kept as such.
bool changesTheMatch(std::uint8_t type) {
    return type != MsgPing && type != MsgPong && type != MsgRulesBegin && type != MsgRulesPart &&
           type != MsgRulesEnd && type != MsgMatchToken && type != MsgRejoin;
}

// Truncated toward zero to 32 bits; only the low 16 travel.
std::int32_t wireMoney(float money) {
    if (!std::isfinite(money)) return 0;
    double clamped = std::clamp(double(money), double(std::numeric_limits<std::int32_t>::min()),
                                double(std::numeric_limits<std::int32_t>::max()));
    return static_cast<std::int32_t>(clamped);
}

void startNetworkMatch(Game& game) {
    // Recorded from just before the message that starts it, which the replay handles
    // again. The ready and the faction each start it; the first begins the recording.
    if (!game.replay.playing && !game.level_running) {
        clearFieldForMatch(game);
        beginRecording(game, 0, nlohmann::json::object());
    }
    resetSharedPause(game.link);
    offerMatchToken(game);
    game.level_running = true;
    game.match_clock.restart();
    game.income_clock.restart();
    logLine("=== GAME START! ===");
}

void opponentIsReady(Game& game) {
    game.opponent_ready = true;
    if (game.faction_confirmed) startNetworkMatch(game);
}

// The host announces its faction with MsgHandshake, the client with MsgFaction; only
// the announcement from the other role counts as the opponent being ready.
void receiveFaction(Game& game, int faction, bool from_host) {
    game.enemy_faction = faction;
    if (from_host) {
        game.handshake_received = 1;
        logLine("Received handshake, enemy faction: ", faction);
    } else {
        game.faction_received = 1;
        logLine("Received faction, enemy faction: ", faction);
    }
    if (from_host != game.lobby.is_host) opponentIsReady(game);
}

void removeDeadInLane(std::vector<Turret>& units, int lane) {
    units.erase(std::remove_if(units.begin(), units.end(),
                               [lane](const Turret& unit) { return unit.lane == lane && unit.hp <= 0; }),
                units.end());
}

// Faction and lane bytes index tables and lanes; out of range, the message is dropped.
bool carriesValidFields(const Message& message) {
    switch (message[0]) {
        case MsgHandshake: return isFaction(message[3]);
        case MsgFaction: return isFaction(message[1]);
        case MsgOldSpawn: return isLane(message[1]);
        case MsgSpawn:
        case MsgTurretDeath: return isLane(message[2]);
        default: return true;
    }
}

// The message's part in the match, logged as it comes.
void actOnMessage(Game& game, const Message& message, std::uint8_t pass) {
    std::uint8_t type = message[0];
    // Snapshots come several times a second, the round trip is measured every second and
    // a transfer comes in many parts: a line for each would bury every other line.
    bool frequent = isSnapshotPart(type) || type == MsgPing || type == MsgPong || type == MsgRulesPart ||
                    type == MsgStatePart;
    if (!frequent) logLine("Received msg type: ", int(type));
    std::size_t length = messageLength(type);
    if (length == 0 || message.size() < length || !carriesValidFields(message)) return;
    switch (type) {
        case MsgHandshake:
            game.handshake_value = message[1] * 256 + message[2];
            receiveFaction(game, message[3], true);
            break;
        case MsgOldSpawn:
            logLine("RECEIVED: Old enemy spawn at lane ", int(message[1]));
            spawnEnemyTurret(game, message[1]);
            break;
        case MsgFaction: receiveFaction(game, message[1], false); break;
        case MsgOldUpgrade:
            logLine("RECEIVED: Enemy upgrade type ", int(message[1]));
            if (message[1] >= 1 && message[1] <= 4) buyOpponentUpgrade(game, message[1], true);
            break;
        case MsgSpawn: {
            int source = message[1];
            int lane = message[2];
            if (source != 0 && source != 1) break;
            spawnEnemyTurret(game, lane, source == 1);
            logLine(source == 0 ? "RECEIVED: Enemy spawn (from player) at lane " : "RECEIVED: Enemy spawn (from AI) at lane ",
                    lane);
            break;
        }
        case MsgMoneySync:
            game.enemy_money = float(message[1] * 256 + message[2]);
            logLine("RECEIVED: Money sync - eMoney=", game.enemy_money);
            break;
        case MsgTurretDeath:
            removeDeadInLane(message[1] == 0 ? game.player_turrets : game.enemy_turrets, message[2]);
            logLine("RECEIVED: Turret death - lane=", int(message[2]));
            break;
        case MsgUpgrade:
            logLine("RECEIVED: Enemy upgrade type ", int(message[1]));
            if (message[1] >= 1 && message[1] <= 6) buyOpponentUpgrade(game, message[1], false);
            // The sender's mirror of our money is refreshed whether or not the purchase took.
            sendMoneySync(game);
            break;
        case MsgSnapshotBegin:
        case MsgSnapshotUnits:
        case MsgSnapshotEnd:
            if (game.network_mode) receiveSnapshotPart(game, message);
            break;
        case MsgMoveOrder:
            if (game.network_mode) receiveMoveOrder(game, message);
            break;
        case MsgHello: receiveHello(game, message); break;
        case MsgRulesBegin:
        case MsgRulesPart:
        case MsgRulesEnd: receiveRulesPart(game, message); break;
        case MsgPause: receivePause(game, message); break;
        case MsgPing:
        case MsgPong:
            if (int milliseconds = receivePing(game, message); milliseconds >= 0)
                recordRoundTrip(game.replay, pass, std::uint32_t(milliseconds));
            break;
        case MsgMatchToken: takeMatchToken(game, message); break;
        case MsgRejoin:
        case MsgRejoinRefused:
        case MsgStateBegin:
        case MsgStatePart:
        case MsgStateEnd:
        case MsgResume:
            // The match's return is the frame step's to handle (app/rejoin.h).
            if (game.rejoin.inbox.size() < kMaxQueuedMessages) game.rejoin.inbox.push_back(message);
            break;
        case MsgReady:
            if (message[1] != 1) break;
            game.opponent_ready = true;
            logLine("Opponent is ready!");
            if (game.faction_confirmed && game.opponent_ready) startNetworkMatch(game);
            break;
    }
}

// Kept after it is handled: a message that starts the match is the replay's first.
void handleMessage(Game& game, const Message& message, std::uint8_t pass) {
    actOnMessage(game, message, pass);
    if (changesTheMatch(message[0])) recordMessage(game.replay, pass, message);
}

// A replay's frame: what this pass handled when the match was played.
void handleRecordedMessages(Game& game, std::uint8_t pass) {
    while (std::optional<ReplayCommand> command = takeFedMessage(game.replay, pass)) {
        if (command->kind == ReplayCommandKind::RoundTrip)
            takeRoundTrip(game.link, command->milliseconds);
        else
            actOnMessage(game, command->bytes, pass);
    }
}
}  // namespace

// Never waits on the peer: what the socket cannot take now goes with a later flush.
void sendMessage(Game& game, const std::vector<std::uint8_t>& bytes) {
    LanLobby& lobby = game.lobby;
    if (bytes.empty() || !lobby.connected) return;
    if (isMatchMessage(bytes[0]) && !game.network_mode) return;
    if (!peerSocket(lobby)) return;
    queueOutgoing(lobby, bytes);
}

bool canSendMatchMessages(const Game& game) { return game.network_mode && game.lobby.connected; }

void sendMoneySync(Game& game) { sendMoneySync(game, game.player_money); }

void sendMoneySync(Game& game, float amount) {
    if (!canSendMatchMessages(game)) return;
    std::int32_t money = wireMoney(amount);
    sendMessage(game, {MsgMoneySync, std::uint8_t((money >> 8) & 0xFF), std::uint8_t(money & 0xFF)});
}

void processLinkMessages(Game& game) {
    if (game.replay.playing) return handleRecordedMessages(game, kLinkPass);
    LanLobby& lobby = game.lobby;
    {
        std::lock_guard<std::mutex> lock(lobby.queue_mutex);
        auto other = [](const Message& m) { return m.empty() || !isLinkMessage(m[0]); };
        // Most frames bring none; the partition would take a buffer from the heap every frame.
        if (std::all_of(lobby.message_queue.begin(), lobby.message_queue.end(), other)) return;
        auto first_link = std::stable_partition(lobby.message_queue.begin(), lobby.message_queue.end(), other);
        if (first_link == lobby.message_queue.end()) return;
        lobby.draining.assign(std::make_move_iterator(first_link), std::make_move_iterator(lobby.message_queue.end()));
        lobby.message_queue.erase(first_link, lobby.message_queue.end());
    }
    for (const Message& message : lobby.draining) handleMessage(game, message, kLinkPass);
    lobby.draining.clear();
}

// The queue is taken whole under the lock and handled after it, so the receive thread
// never waits on our handling, and the replies it makes, to queue the next message.
void processMessages(Game& game) {
    if (game.replay.playing) return handleRecordedMessages(game, kBattlePass);
    LanLobby& lobby = game.lobby;
    {
        std::lock_guard<std::mutex> lock(lobby.queue_mutex);
        lobby.draining.swap(lobby.message_queue);
    }
    for (const Message& message : lobby.draining)
        if (!message.empty()) handleMessage(game, message, kBattlePass);
    lobby.draining.clear();
}
