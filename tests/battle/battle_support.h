#pragma once
#include "app/game.h"
#include "battle/combat.h"

// A unit of the side's generic stats placed at a point, as a spawn would give it an id.
inline Turret& addUnit(Game& game, bool player, int lane, sf::Vector2f position, int weapon = Cannon) {
    auto& list = player ? game.player_turrets : game.enemy_turrets;
    list.emplace_back(player, lane);
    list.back().id = game.next_unit_id++;
    list.back().weapon = weapon;
    placeUnit(list.back(), position);
    return list.back();
}
