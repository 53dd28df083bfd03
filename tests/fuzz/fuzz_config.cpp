#include "content/config.h"
#include "fuzz_game.h"

// config.json as the game reads it at start-up and during play: unit stats for every
// faction and side, effect settings, colours, upgrade prices, then a short battle.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Game& game = fuzzGame();
    writeDataFile("config.json", data, size);
    Config::forget();
    clearField(game);
    loadEffectSettings(game.effects);
    for (const char* colour : {"body_color", "body_outline_color", "barrel/color", "barrel/outline_color"})
        (void)turretColor(size % 2 == 0, colour);
    (void)uiColor("text");
    int faction = size % 5;
    enterMatch(game, faction, (faction + 1 + int(size / 5) % 4) % 5);
    for (int button = 0; button < kPanelButtonCount; ++button) buyPlayerUpgrade(game, PanelButton(button));
    for (int code = 0; code < 6; ++code) enemyBuyUpgrade(game, code);
    for (int lane = 0; lane < 3; ++lane) {
        spawnPlayerTurret(game, lane);
        spawnEnemyTurret(game, lane);
    }
    stepFrames(game, 4, 0.25f);
    return 0;
}
