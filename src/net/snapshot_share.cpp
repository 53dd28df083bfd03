#include "net/snapshot.h"
#include "app/clock.h"
#include "app/game.h"
#include "net/protocol.h"

namespace {
UnitState stateOf(const Turret& unit) {
    UnitState state;
    state.number = unit.net_number;
    state.lane = std::uint8_t(unit.lane);
    state.x = unit.position.x;
    state.y = unit.position.y;
    state.hp = unit.hp;
    state.since_shot = unit.fire_clock.elapsedSeconds();
    state.move_order = unit.move_order != 0;
    state.move_x = unit.move_target.x;
    state.move_y = unit.move_target.y;
    return state;
}

void describeUnits(const std::vector<Turret>& units, std::vector<UnitState>& states) {
    states.clear();
    for (const Turret& unit : units)
        if (unit.hp > 0 && states.size() < kMaxSnapshotUnits) states.push_back(stateOf(unit));
}

void sendSnapshot(Game& game) {
    BattleSync& sync = game.sync;
    Snapshot& snapshot = sync.latest;
    snapshot.serial = ++sync.serial;
    snapshot.flags = 0;
    if (game.game_over) {
        snapshot.flags |= kSnapshotOver;
        // Both sides below zero counts as the host's win, as on its own results screen.
        if (game.enemy_money < 0) snapshot.flags |= kSnapshotHostWon;
    }
    snapshot.host_money = game.player_money;
    snapshot.joiner_base_damage = sync.base_damage[1];
    snapshot.joiner_spawns = sync.spawned[1];
    describeUnits(game.player_turrets, snapshot.host_units);
    describeUnits(game.enemy_turrets, snapshot.joiner_units);
    encodeSnapshot(snapshot, sync.outgoing);
    for (const Message& packet : sync.outgoing) sendMessage(game, packet);
    sync.since_snapshot = 0;
    sync.death_unshared = false;
    sync.snapshot_at_us = realNowMicroseconds();
}
}  // namespace

bool sharesBattle(const Game& game) {
    return game.lobby.is_host && canSendMatchMessages(game) && game.level_running && game.sync.share_battle;
}

void shareBattle(Game& game, float dt) {
    if (!sharesBattle(game)) return;
    BattleSync& sync = game.sync;
    sync.since_snapshot += dt;
    if (sync.since_snapshot >= kSnapshotInterval || sync.death_unshared || game.game_over) sendSnapshot(game);
}
