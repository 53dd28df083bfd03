#include "content/levels.h"
#include "fuzz_game.h"

// levels.json as the level selection loads it, then every loaded level started and
// played for a few frames with its waves and upgrade schedule.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Game& game = fuzzGame();
    writeDataFile("levels.json", data, size);
    game.all_levels.clear();
    loadLevels(game, "levels.json");
    enterMatch(game, int(size % 5));
    for (const nlohmann::json& level : game.all_levels) {
        clearField(game);
        startLevel(game, level);
        stepFrames(game, 3, 0.5f);
    }
    return 0;
}
