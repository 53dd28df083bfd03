#include "app/clock.h"
#include "app/game.h"
#include "app/log.h"
#include "battle/battle_math.h"
#include "battle/combat.h"
#include "battle/match.h"
#include "net/protocol.h"
#include "net/snapshot.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {
// Farther off than this a unit is put in place at once; nearer, it glides there.
constexpr float kSnapDistance = 40.0f;
// Seconds in which about two thirds of the remaining way is covered.
constexpr float kEaseTime = 0.05f;
// Seconds over which a unit's speed is averaged.
constexpr float kVelocitySmoothing = 0.1f;

sf::Vector2f hostToLocal(const Game& game, float x, float y) { return {x, mirrorY(game, y)}; }

// Units the host no longer has leave; ours the host has not heard of yet stay. The
// host hears of our spawns in order, so those numbered beyond its count are in flight.
bool hostDropped(const Turret& unit, bool own_side, std::uint16_t own_spawns_heard) {
    if (!own_side || (unit.net_number & kKeySpawnNumbers)) return true;
    return unit.net_number <= own_spawns_heard;
}

// A snapshot shows the host's battle as it was half a round trip ago; the unit has moved
// on since, on the host as here, so its place now is that far along its way.
float snapshotAge(const Game& game) {
    return game.link.smoothed_round_trip_ms > 0 ? game.link.smoothed_round_trip_ms / 2000.0f : 0.0f;
}

void takeState(Game& game, Turret& unit, const UnitState& state, bool own_side) {
    unit.lane = state.lane;
    unit.hp = state.hp;
    float age = snapshotAge(game);
    unit.fire_clock.restartAgo(state.since_shot + age);
    sf::Vector2f target = hostToLocal(game, state.x, state.y) + unit.net_velocity * age;
    sf::Vector2f off = target - unit.position;
    if (vectorLength(off) > kSnapDistance) {
        placeUnit(unit, target);
        unit.net_correction = {};
    } else {
        unit.net_correction = off;
    }
    // Our own orders are ours to give; the host's units drive as the host's player said.
    if (own_side) return;
    unit.move_order = state.move_order ? 1 : 0;
    if (state.move_order) unit.move_target = hostToLocal(game, state.move_x, state.move_y);
}

void followUnits(Game& game, std::vector<Turret>& units, const std::vector<UnitState>& states, bool own_side,
                 std::uint16_t own_spawns_heard) {
    std::unordered_map<std::uint16_t, std::size_t> by_number;
    for (std::size_t i = 0; i < states.size(); ++i) by_number.emplace(states[i].number, i);
    std::vector<bool> present(states.size(), false);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < units.size(); ++i) {
        Turret& unit = units[i];
        auto found = by_number.find(unit.net_number);
        if (found != by_number.end()) {
            present[found->second] = true;
            takeState(game, unit, states[found->second], own_side);
        } else if (hostDropped(unit, own_side, own_spawns_heard)) {
            // A unit our own hits had already killed was heard dying then.
            if (unit.hp > 0) recordEvent(game.events, BattleEventKind::UnitKilled, unit.position.x);
            continue;
        }
        if (kept != i) units[kept] = std::move(unit);
        ++kept;
    }
    units.erase(units.begin() + std::ptrdiff_t(kept), units.end());
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (present[i]) continue;
        const UnitState& state = states[i];
        Turret& unit = addSyncedUnit(game, own_side, state.lane, hostToLocal(game, state.x, state.y), state.number);
        takeState(game, unit, state, own_side);
        ++game.sync.units_repaired;
    }
}

// Selection, orders and the info box name units that may have just left.
void forgetLostUnits(Game& game, UnitId inspected) {
    auto& selection = game.selection;
    selection.erase(std::remove_if(selection.begin(), selection.end(),
                                   [&](UnitId id) { return findUnit(game, id) == nullptr; }),
                    selection.end());
    for (Turret& unit : game.player_turrets)
        if (unit.attack_order && !findUnit(game, unit.attack_target)) {
            unit.attack_order = 0;
            unit.attack_target = kNoUnit;
        }
    game.inspected_unit = -1;
    const std::vector<Turret>& list = game.inspected_side ? game.player_turrets : game.enemy_turrets;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].id == inspected) game.inspected_unit = int(i);
}

// The unit's own motion since the last frame, corrections left out, smoothed over a few
// frames so a single push does not swing it.
void trackVelocity(Turret& unit, float dt) {
    sf::Vector2f position = unit.position;
    if (unit.net_tracked && dt > 0) {
        sf::Vector2f velocity = (position - unit.net_last_position) / dt;
        float weight = std::min(1.0f, dt / kVelocitySmoothing);
        unit.net_velocity += (velocity - unit.net_velocity) * weight;
    }
    unit.net_tracked = true;
    unit.net_last_position = position;
}

UnitId inspectedId(const Game& game) {
    const std::vector<Turret>& list = game.inspected_side ? game.player_turrets : game.enemy_turrets;
    if (game.inspected_unit < 0 || game.inspected_unit >= int(list.size())) return kNoUnit;
    return list[std::size_t(game.inspected_unit)].id;
}
}  // namespace

float mirrorY(const Game& game, float y) { return game.player_spawn_y + game.enemy_spawn_y - y; }

void followSnapshot(Game& game, const Snapshot& snapshot) {
    BattleSync& sync = game.sync;
    sync.following = true;
    ++sync.snapshots_applied;
    sync.snapshot_at_us = realNowMicroseconds();
    game.enemy_money = snapshot.host_money;
    // Our spending and income are ours; what our base lost is what the host's battle says.
    game.player_money -= snapshot.joiner_base_damage - sync.base_damage[0];
    sync.base_damage[0] = snapshot.joiner_base_damage;

    UnitId inspected = inspectedId(game);
    followUnits(game, game.enemy_turrets, snapshot.host_units, false, 0);
    followUnits(game, game.player_turrets, snapshot.joiner_units, true, snapshot.joiner_spawns);
    forgetLostUnits(game, inspected);

    if (snapshot.flags & kSnapshotOver) endMatch(game, !(snapshot.flags & kSnapshotHostWon));
}

void receiveSnapshotPart(Game& game, const Message& message) {
    BattleSync& sync = game.sync;
    if (game.lobby.is_host) return;  // the host's battle is the truth; nobody corrects it
    SnapshotRead read = readSnapshotPart(sync.reader, message, game);
    if (read == SnapshotRead::Malformed && !sync.malformed_logged) {
        sync.malformed_logged = true;
        logLine("⚠️ 收到无效的战场快照，已丢弃");
    }
    if (read == SnapshotRead::Complete && game.level_running && !game.game_over)
        followSnapshot(game, sync.reader.building);
}

void easeTowardsHost(Game& game, float dt) {
    float share = 1.0f - battleExp(-dt / kEaseTime);
    for (auto* units : {&game.player_turrets, &game.enemy_turrets})
        for (Turret& unit : *units) {
            trackVelocity(unit, dt);
            if (unit.net_correction.x == 0 && unit.net_correction.y == 0) continue;
            sf::Vector2f step = unit.net_correction * share;
            if (vectorLength(unit.net_correction - step) < 0.01f) step = unit.net_correction;
            placeUnit(unit, unit.position + step);
            unit.net_correction -= step;
            unit.net_last_position = unit.position;
        }
}

void shareMoveOrder(Game& game, const Turret& unit) {
    if (!canSendMatchMessages(game) || unit.net_number == 0) return;
    auto position = [](float value) {
        auto scaled = std::int16_t(std::clamp(std::round(value), -32768.0f, 32767.0f));
        return std::uint16_t(scaled);
    };
    std::uint16_t x = position(unit.move_target.x);
    std::uint16_t y = position(unit.move_target.y);
    sendMessage(game, {MsgMoveOrder, std::uint8_t(unit.net_number >> 8), std::uint8_t(unit.net_number & 0xFF),
                       std::uint8_t(unit.move_order ? 1 : 0), std::uint8_t(x >> 8), std::uint8_t(x & 0xFF),
                       std::uint8_t(y >> 8), std::uint8_t(y & 0xFF)});
}

void receiveMoveOrder(Game& game, const Message& message) {
    std::uint16_t number = std::uint16_t(message[1] << 8 | message[2]);
    float x = float(std::int16_t(message[4] << 8 | message[5]));
    float y = mirrorY(game, float(std::int16_t(message[6] << 8 | message[7])));
    const WorldBounds& field = game.world_bounds;
    bool on_field = x >= field.min_x && x <= field.max_x && y >= field.min_y && y <= field.max_y;
    // An order off the field would drive the unit out of it.
    if (message[3] > 1 || (message[3] == 1 && !on_field)) return;
    for (Turret& unit : game.enemy_turrets) {
        if (unit.net_number != number) continue;
        unit.move_order = message[3];
        if (unit.move_order) unit.move_target = {x, y};
        return;
    }
}
