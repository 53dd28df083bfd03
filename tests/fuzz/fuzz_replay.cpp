#include "app/clock.h"
#include "app/replay_play.h"
#include "content/config.h"
#include "fuzz_game.h"

// A replay file as --verify-replay and the viewer read it: refused, or started by its own
// rules and played for up to 300 of its frames.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Game& game = fuzzGame();
    static const nlohmann::json own_rules = Config::instance().document;
    Replay replay;
    if (!decodeReplay(std::string(reinterpret_cast<const char*>(data), size), replay).empty()) return 0;
    Config::instance().document = replay.config;
    clearField(game);
    game.replay.replay = std::move(replay);
    ManualClockSource clock;
    if (startReplay(game).empty())
        for (int frame = 0; frame < 300 && playReplayFrame(game, clock) == ReplayStep::Played; ++frame) {
        }
    game.replay.playing = false;
    Config::instance().document = own_rules;
    return 0;
}
