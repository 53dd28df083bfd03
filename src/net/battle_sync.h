#pragma once
#include "net/lan_lobby.h"

#include <array>
#include <cstdint>
#include <vector>

struct Game;

// In a LAN game the host's battle is the truth: about four times a second, and at once
// after a unit dies, the host sends a snapshot of it, and the joining game moves its own
// battle onto it. A game that knows only the older messages ignores these types.
enum SnapshotMessageType : std::uint8_t {
    MsgSnapshotBegin = 12,  // [12][serial 2][flags][host money 4][joiner base damage 4][joiner spawns 2]
                            //     [host units 2][joiner units 2]
    MsgSnapshotUnits = 13,  // [13][serial 2][side 0 host / 1 joiner][count 1..12][count x unit record]
    MsgSnapshotEnd = 14,    // [14][serial 2]
    MsgMoveOrder = 15,      // [15][number 2][1 move / 0 stop][x 2][y 2]  a move order on the sender's own unit
};

constexpr std::size_t kSnapshotBeginLength = 18;
constexpr std::size_t kSnapshotUnitsHeader = 5;
constexpr std::size_t kUnitRecordLength = 18;
constexpr std::size_t kUnitsPerPacket = 12;  // 5 + 12 x 18 = 221 bytes, within the framing cap
constexpr std::size_t kSnapshotEndLength = 3;
constexpr std::size_t kMoveOrderLength = 8;
// More units than any battle holds; a snapshot announcing more is not believed.
constexpr std::size_t kMaxSnapshotUnits = 4000;
constexpr std::uint8_t kSnapshotOver = 1;      // the match is over
constexpr std::uint8_t kSnapshotHostWon = 2;   // ... and the host won it
constexpr float kSnapshotInterval = 0.25f;     // seconds between two snapshots

// One unit as the host sees it, in the host's coordinates.
struct UnitState {
    std::uint16_t number = 0;
    std::uint8_t lane = 0;
    bool move_order = false;
    float x = 0, y = 0;
    float hp = 0;
    float since_shot = 0;  // seconds since its last shot, at most 65.535
    float move_x = 0, move_y = 0;
};

struct Snapshot {
    std::uint16_t serial = 0;
    std::uint8_t flags = 0;
    float host_money = 0;
    float joiner_base_damage = 0;  // all the joining side's base has suffered this match
    std::uint16_t joiner_spawns = 0;  // the joining side's spawns the host has numbered
    std::vector<UnitState> host_units;
    std::vector<UnitState> joiner_units;
};

// A snapshot as its packets come in; it counts only once its end has arrived whole.
struct SnapshotReader {
    Snapshot building;
    bool open = false;
    std::size_t host_expected = 0;
    std::size_t joiner_expected = 0;
};

enum class SnapshotRead { Incomplete, Complete, Malformed };

// Per match: spawn numbering on both sides, the host's snapshot pacing, and the joining
// game's following of the host.
struct BattleSync {
    bool share_battle = true;                // the host sends snapshots; kept across matches
    std::array<std::uint16_t, 2> spawned{};  // player, enemy: spawns numbered so far
    std::uint16_t key_spawned = 0;           // enemy units from the opponent-spawn keys
    std::array<float, 2> base_damage{};      // money the player's and the enemy's base lost to hits
    // Host
    float since_snapshot = 0;
    bool death_unshared = false;   // a unit died since the last snapshot
    std::uint16_t serial = 0;
    std::vector<Message> outgoing;  // a snapshot's packets, kept for reuse
    // Joining game
    bool following = false;        // the host sends snapshots: it decides deaths and the result
    SnapshotReader reader;
    Snapshot latest;
    bool malformed_logged = false;
    std::size_t snapshots_applied = 0;
    std::int64_t snapshot_at_us = -1;  // real time the last snapshot went out (host) or was followed
    std::size_t units_repaired = 0;  // units the joining game lacked and took from a snapshot
};

// Wire forms; positions travel as sixteenths of a pixel in 16 bits, hp as a float.
void encodeSnapshot(const Snapshot& snapshot, std::vector<Message>& packets);
SnapshotRead readSnapshotPart(SnapshotReader& reader, const Message& message, const Game& game);

// Back to a fresh match: numbering from zero, nothing followed.
void resetBattleSync(BattleSync& sync);
// The next number of a side's spawn; every spawn counts, whether or not it takes place.
std::uint16_t numberSpawn(BattleSync& sync, bool player_side, bool from_spawn_keys);
