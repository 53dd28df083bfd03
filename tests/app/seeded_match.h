#pragma once
#include "app/render.h"
#include "battle/battle_support.h"
#include "battle/state_digest.h"
#include "events.h"

struct PlayedMatch {
    std::uint64_t digest;
    std::string log;  // what the match itself printed
    std::size_t units;  // the most at once
    bool operator==(const PlayedMatch& o) const { return digest == o.digest && log == o.log && units == o.units; }
};

// The last level of the files (by default the shipped ones) through the real input path at a
// fixed dt: the menu, Yellow, a unit down a lane every 0.4 s, a box selection driven to a point,
// the fire-rate button pressed on the panel now and then. A game with a window also draws every frame.
inline PlayedMatch playSeededMatch(bool windowed, const std::string& config = shippedData("config.json"),
                                   const std::string& levels = shippedData("levels.json")) {
    SteppedGame played(config, levels, windowed);
    Game& game = played.game;
    std::size_t units = 0;
    std::string log = stdoutOf([&] {
        clickIntoLevel(game, 1, 9);
        for (int frame = 0; frame < 600; ++frame) {
            if (frame % 12 == 0) keyPress(game, kLaneKeys[(frame / 12) % 3]);
            if (frame == 300) {
                press(game, 300, 600);
                move(game, 700, 700);
                release(game, 700, 700);
                click(game, 640, 300, sf::Mouse::Button::Right);
            }
            game.input.mouse = {60, 40 + 60 + 10};  // on the fire-rate button of the slid-out panel
            game.input.left_button = frame % 90 < 3;
            played.step(1.0f / 30);
            if (windowed) render(game);
            units = std::max(units, game.player_turrets.size() + game.enemy_turrets.size());
        }
    });
    return {battleDigest(game), log, units};
}
