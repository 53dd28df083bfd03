#pragma once
#include <cstdint>
#include <vector>

struct Game;

// Every message is one packet of plain bytes, type byte first; 16-bit values travel
// as two bytes, high byte first. A message shorter than its type's length is dropped,
// bytes beyond it are ignored, and so is every type not listed here or, for the host's
// battle snapshots and move orders (types 12 to 15), in net/battle_sync.h.
enum MessageType : std::uint8_t {
    MsgHandshake = 1,    // [1][value high][value low][faction]   host, on faction confirmation
    MsgOldSpawn = 2,     // [2][lane]                             understood, never sent
    MsgFaction = 3,      // [3][faction]                          client, on faction confirmation
    MsgOldUpgrade = 4,   // [4][kind 1..4]                        opponent-upgrade keys
    MsgSpawn = 5,        // [5][source 0 player / 1 keys][lane]   local spawn, opponent-spawn keys
    MsgMoneySync = 6,    // [6][money high][money low]            the sender's money, truncated to 16 bits
    MsgTurretDeath = 8,  // [8][side 0 own / 1 opponent][lane]    dead-unit sweep
    MsgUpgrade = 10,     // [10][kind 1..7]                       side panel purchase; answered by MsgMoneySync
    MsgReady = 11,       // [11][1]                               faction confirmation
};

// Sends one message on the peer socket while connected; match messages (spawn, money,
// death, upgrade) only in a network game. A failed send is silent.
void sendMessage(Game& game, const std::vector<std::uint8_t>& bytes);
// MsgMoneySync with the local money, or the given amount, only in a connected network game.
void sendMoneySync(Game& game);
void sendMoneySync(Game& game, float money);
// Match messages (spawns, money, deaths, upgrades) go out only in a connected network game.
bool canSendMatchMessages(const Game& game);
// Drains the received queue and handles every message, on the main thread.
void processMessages(Game& game);
// Handles only the link's own messages (hello, rules, pause, round trip) and leaves the
// rest queued in order, on screens that do not drain the queue yet.
void processLinkMessages(Game& game);
