#include "app/commands.h"
#include "app/game.h"
#include "app/pause.h"
#include "app/rejoin.h"
#include "battle/combat.h"
#include "content/upgrades.h"
#include "net/snapshot.h"

int pickUnit(const std::vector<Turret>& units, sf::Vector2f point, float extra, bool add_radius) {
    for (size_t i = 0; i < units.size(); ++i) {
        float reach = (add_radius ? units[i].radius : 0.0f) + extra;
        if (distanceBetween(units[i].position, point) < reach) return int(i);
    }
    return -1;
}

void clearOrders(Game& game) {
    game.selection.clear();
    game.inspected_unit = -1;
    for (Turret& unit : game.player_turrets) {
        bool was_moving = unit.move_order;
        unit.attack_target = kNoUnit;
        unit.attack_order = 0;
        unit.move_order = 0;
        if (was_moving) shareMoveOrder(game, unit);
    }
}

void orderSelection(Game& game, sf::Vector2f field) {
    int enemy = pickUnit(game.enemy_turrets, field, 10, true);
    for (UnitId id : game.selection) {
        Turret* unit = findUnit(game, id);
        if (!unit || unit->hp <= 0) continue;
        if (enemy >= 0) {
            unit->attack_target = game.enemy_turrets[std::size_t(enemy)].id;
            unit->attack_order = 1;
            unit->move_order = 0;
        } else {
            unit->move_target = field;
            unit->move_order = 1;
            unit->attack_order = 0;
            unit->attack_target = kNoUnit;
        }
        shareMoveOrder(game, *unit);
    }
}

void applyCommand(Game& game, const ReplayCommand& command) {
    switch (command.kind) {
        case ReplayCommandKind::Spawn:
            if (command.side == 0)
                spawnPlayerTurret(game, command.value);
            else
                spawnEnemyTurret(game, command.value);
            return;
        case ReplayCommandKind::Pause: togglePause(game); return;
        case ReplayCommandKind::ClearOrders: clearOrders(game); return;
        case ReplayCommandKind::Select: game.selection = command.units; return;
        case ReplayCommandKind::Order: orderSelection(game, command.point); return;
        case ReplayCommandKind::Upgrade: buyPlayerUpgrade(game, PanelButton(command.value)); return;
        case ReplayCommandKind::OpponentUpgrade: buyEnemyUpgradeByKey(game, command.value); return;
        case ReplayCommandKind::LinkLost:
            if (command.value) holdForRejoin(game);
            forgetPeer(game);
            return;
        case ReplayCommandKind::TakenBack: resumeTakenBack(game); return;
        case ReplayCommandKind::PanelPress:
        case ReplayCommandKind::Message:
        case ReplayCommandKind::RoundTrip: return;  // within the frame
    }
}

void performCommand(Game& game, ReplayCommand command) {
    applyCommand(game, command);
    recordCommand(game.replay, std::move(command));
}
