#pragma once
#include "app/update.h"
#include "support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

// One real headless Game for the whole fuzzing run, started in a scratch folder so the
// inputs written as data files never touch the shipped ones.
// The game's log lines go nowhere: only the fuzzer's own report matters.
inline Game& fuzzGame() {
    static Game* game = [] {
        char folder[] = "/tmp/tarvex-fuzz-XXXXXX";
        if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
        if (!std::freopen("/dev/null", "w", stdout)) std::abort();
        return new Game(GameOptions{true, Seeds{}, ""});
    }();
    return *game;
}

inline void writeDataFile(const char* name, const std::uint8_t* data, std::size_t size) {
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

// Back to an empty field between inputs, as after a match, so nothing of one input piles up over a run.
inline void clearField(Game& game) {
    clearMatch(game);
    game.inspected_unit = -1;
    game.effects.particles.clear();
    game.effects.muzzle_flashes.clear();
    game.effects.explosions.clear();
    game.effects.track_marks.clear();
    game.player_money = game.enemy_money = 1000;  // for anything, whatever the start money
}

inline void stepFrames(Game& game, int frames, float dt) {
    for (int frame = 0; frame < frames; ++frame) update(game, dt);
}
