#pragma once
#include "app/update.h"
#include "battle/combat.h"
#include "support.h"

// A real game (see GameFixture) whose time stands still until the test advances the clock or steps the game.
struct SteppedGame {
    ManualClockSource clock;
    GameFixture fixture;
    Game& game = *fixture.game;

    explicit SteppedGame(const std::string& config_json = "", const std::string& levels_json = "",
                         bool windowed = false)
        : fixture(config_json, levels_json, windowed) {}
    void step(float dt, int frames = 1) {
        for (int frame = 0; frame < frames; ++frame) {
            clock.advance(dt);
            update(game, dt);
        }
    }
};

struct BattleTest : testing::Test, SteppedGame {};

// A unit of the side's generic stats placed at a point, as a spawn would give it an id.
// Room for 64 keeps the references the tests hold valid.
inline Turret& addUnit(Game& game, bool player, int lane, sf::Vector2f position, int weapon = Cannon) {
    auto& list = player ? game.player_turrets : game.enemy_turrets;
    list.reserve(64);
    Turret& unit = list.emplace_back(player, lane);
    unit.id = game.next_unit_id++;
    unit.weapon = weapon;
    unit.last_track_pos = position;
    placeUnit(unit, position);
    return unit;
}
