#include "app/game.h"
#include "net/battle_sync.h"
#include "net/packet_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_set>

static_assert(kSnapshotUnitsHeader + kUnitsPerPacket * kUnitRecordLength <= kMaxPacketBytes,
              "a packet of snapshot units must pass the peer's framing cap");

namespace {
constexpr float kPositionScale = 16.0f;  // sixteenths of a pixel
constexpr float kMaxMoney = 1e9f;
constexpr float kMaxHp = 1e6f;
constexpr float kFieldMargin = 100.0f;   // pushes and orders may carry a unit a little past the field

void putU16(Message& out, std::uint16_t value) {
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value & 0xFF));
}

void putFloat(Message& out, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(bits >> shift));
}

void putPosition(Message& out, float value) {
    float scaled = std::clamp(std::round(value * kPositionScale), -32768.0f, 32767.0f);
    putU16(out, std::uint16_t(std::int16_t(scaled)));
}

std::uint16_t getU16(const Message& in, std::size_t at) { return std::uint16_t(in[at] << 8 | in[at + 1]); }

float getFloat(const Message& in, std::size_t at) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) bits = bits << 8 | in[at + i];
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float getPosition(const Message& in, std::size_t at) { return float(std::int16_t(getU16(in, at))) / kPositionScale; }

void putUnit(Message& out, const UnitState& unit) {
    putU16(out, unit.number);
    out.push_back(unit.lane);
    out.push_back(unit.move_order ? 1 : 0);
    putPosition(out, unit.x);
    putPosition(out, unit.y);
    putFloat(out, unit.hp);
    putU16(out, std::uint16_t(std::clamp(unit.since_shot * 1000.0f, 0.0f, 65535.0f)));
    putPosition(out, unit.move_x);
    putPosition(out, unit.move_y);
}

UnitState getUnit(const Message& in, std::size_t at) {
    UnitState unit;
    unit.number = getU16(in, at);
    unit.lane = in[at + 2];
    unit.move_order = in[at + 3] == 1;
    unit.x = getPosition(in, at + 4);
    unit.y = getPosition(in, at + 6);
    unit.hp = getFloat(in, at + 8);
    unit.since_shot = float(getU16(in, at + 12)) / 1000.0f;
    unit.move_x = getPosition(in, at + 14);
    unit.move_y = getPosition(in, at + 16);
    return unit;
}

bool insideField(const Game& game, float x, float y) {
    const WorldBounds& field = game.world_bounds;
    return x >= field.min_x - kFieldMargin && x <= field.max_x + kFieldMargin && y >= field.min_y - kFieldMargin &&
           y <= field.max_y + kFieldMargin;
}

bool believable(const Game& game, const UnitState& unit) {
    return unit.lane < 3 && std::isfinite(unit.hp) && unit.hp > 0 && unit.hp <= kMaxHp &&
           insideField(game, unit.x, unit.y) && (!unit.move_order || insideField(game, unit.move_x, unit.move_y));
}

bool believableMoney(float money) { return std::isfinite(money) && std::abs(money) <= kMaxMoney; }

bool numbersUnique(const std::vector<UnitState>& units) {
    std::unordered_set<std::uint16_t> seen;
    for (const UnitState& unit : units)
        if (!seen.insert(unit.number).second) return false;
    return true;
}

SnapshotRead readBegin(SnapshotReader& reader, const Message& message) {
    if (message.size() < kSnapshotBeginLength) return SnapshotRead::Malformed;
    Snapshot& snapshot = reader.building;
    snapshot.serial = getU16(message, 1);
    snapshot.flags = message[3];
    snapshot.host_money = getFloat(message, 4);
    snapshot.joiner_base_damage = getFloat(message, 8);
    snapshot.joiner_spawns = getU16(message, 12);
    reader.host_expected = getU16(message, 14);
    reader.joiner_expected = getU16(message, 16);
    snapshot.host_units.clear();
    snapshot.joiner_units.clear();
    if (!believableMoney(snapshot.host_money) || !believableMoney(snapshot.joiner_base_damage) ||
        reader.host_expected > kMaxSnapshotUnits || reader.joiner_expected > kMaxSnapshotUnits)
        return SnapshotRead::Malformed;
    reader.open = true;
    return SnapshotRead::Incomplete;
}

SnapshotRead readUnits(SnapshotReader& reader, const Message& message, const Game& game) {
    if (message.size() < kSnapshotUnitsHeader || getU16(message, 1) != reader.building.serial)
        return SnapshotRead::Malformed;
    std::uint8_t side = message[3];
    std::size_t count = message[4];
    if (side > 1 || count == 0 || count > kUnitsPerPacket || message.size() < kSnapshotUnitsHeader + count * kUnitRecordLength)
        return SnapshotRead::Malformed;
    std::vector<UnitState>& units = side == 0 ? reader.building.host_units : reader.building.joiner_units;
    std::size_t expected = side == 0 ? reader.host_expected : reader.joiner_expected;
    if (units.size() + count > expected) return SnapshotRead::Malformed;
    for (std::size_t i = 0; i < count; ++i) {
        UnitState unit = getUnit(message, kSnapshotUnitsHeader + i * kUnitRecordLength);
        if (!believable(game, unit)) return SnapshotRead::Malformed;
        units.push_back(unit);
    }
    return SnapshotRead::Incomplete;
}

SnapshotRead readEnd(SnapshotReader& reader, const Message& message) {
    const Snapshot& snapshot = reader.building;
    if (message.size() < kSnapshotEndLength || getU16(message, 1) != snapshot.serial ||
        snapshot.host_units.size() != reader.host_expected || snapshot.joiner_units.size() != reader.joiner_expected ||
        !numbersUnique(snapshot.host_units) || !numbersUnique(snapshot.joiner_units))
        return SnapshotRead::Malformed;
    reader.open = false;
    return SnapshotRead::Complete;
}

void appendUnitPackets(const Snapshot& snapshot, std::uint8_t side, std::vector<Message>& packets) {
    const std::vector<UnitState>& units = side == 0 ? snapshot.host_units : snapshot.joiner_units;
    for (std::size_t first = 0; first < units.size(); first += kUnitsPerPacket) {
        std::size_t count = std::min(kUnitsPerPacket, units.size() - first);
        Message packet{MsgSnapshotUnits};
        putU16(packet, snapshot.serial);
        packet.push_back(side);
        packet.push_back(std::uint8_t(count));
        for (std::size_t i = first; i < first + count; ++i) putUnit(packet, units[i]);
        packets.push_back(std::move(packet));
    }
}
}  // namespace

void encodeSnapshot(const Snapshot& snapshot, std::vector<Message>& packets) {
    packets.clear();
    Message begin{MsgSnapshotBegin};
    putU16(begin, snapshot.serial);
    begin.push_back(snapshot.flags);
    putFloat(begin, snapshot.host_money);
    putFloat(begin, snapshot.joiner_base_damage);
    putU16(begin, snapshot.joiner_spawns);
    putU16(begin, std::uint16_t(std::min(snapshot.host_units.size(), kMaxSnapshotUnits)));
    putU16(begin, std::uint16_t(std::min(snapshot.joiner_units.size(), kMaxSnapshotUnits)));
    packets.push_back(std::move(begin));
    appendUnitPackets(snapshot, 0, packets);
    appendUnitPackets(snapshot, 1, packets);
    Message end{MsgSnapshotEnd};
    putU16(end, snapshot.serial);
    packets.push_back(std::move(end));
}

// A packet out of place (units or an end with no snapshot begun, or of another serial)
// spoils the snapshot being read; the next begin starts afresh.
SnapshotRead readSnapshotPart(SnapshotReader& reader, const Message& message, const Game& game) {
    if (message.empty()) return SnapshotRead::Malformed;
    SnapshotRead result = SnapshotRead::Malformed;
    if (message[0] == MsgSnapshotBegin)
        result = readBegin(reader, message);
    else if (reader.open && message[0] == MsgSnapshotUnits)
        result = readUnits(reader, message, game);
    else if (reader.open && message[0] == MsgSnapshotEnd)
        result = readEnd(reader, message);
    if (result == SnapshotRead::Malformed) reader.open = false;
    return result;
}

void resetBattleSync(BattleSync& sync) {
    std::vector<Message> outgoing = std::move(sync.outgoing);
    bool share_battle = sync.share_battle;
    sync = BattleSync();
    sync.outgoing = std::move(outgoing);
    sync.share_battle = share_battle;
}

std::uint16_t numberSpawn(BattleSync& sync, bool player_side, bool from_spawn_keys) {
    std::uint16_t& count = from_spawn_keys ? sync.key_spawned : sync.spawned[player_side ? 0 : 1];
    count = std::uint16_t((count + 1) & 0x7FFF);
    if (count == 0) count = 1;  // 0 is never a unit's number
    return from_spawn_keys ? std::uint16_t(kKeySpawnNumbers | count) : count;
}
