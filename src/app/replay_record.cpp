#include "app/replay_record.h"
#include "app/game.h"
#include "app/update.h"
#include "battle/state_digest.h"

#include <cmath>

namespace {
// A digest every second of game time, and one at the end.
void checkDigest(ReplayLog& log, const Game& game, double before) {
    if (std::floor(log.game_time) > std::floor(before) || game.game_over)
        log.replay.checks.push_back({log.replay.frame_count, battleDigest(game)});
}
}  // namespace

void stepFrame(Game& game, std::int64_t frame_us) {
    float dt = static_cast<float>(frame_us) / 1000000.0f;
    update(game, dt);
    ReplayLog& log = game.replay;
    if (!log.recording) return;
    appendReplayFrame(log, frame_us);
    double before = log.game_time;
    log.game_time += double(frame_us) / 1e6;
    checkDigest(log, game, before);
    sampleMoneyCurve(log, game, before);
    if (game.game_over) finishRecording(game);
}

void finishRecording(Game& game) {
    ReplayLog& log = game.replay;
    if (!log.recording) return;
    log.recording = false;
    Replay& replay = log.replay;
    if (replay.frame_count == 0) return;  // left before a single frame: nothing to keep
    if (replay.checks.empty() || replay.checks.back().frame != replay.frame_count)
        replay.checks.push_back({replay.frame_count, battleDigest(game)});
    log.money.push_back({game.player_money, game.enemy_money});
    replay.result = !game.game_over ? "left" : game.match_won ? "won" : "lost";
    replay.length_seconds = log.game_time;
    saveReplay(replay, log.folder);
}
