#include "app/replay_play.h"
#include "app/clock.h"
#include "app/commands.h"
#include "app/game.h"
#include "app/log.h"
#include "app/replay_record.h"
#include "app/update.h"
#include "battle/state_digest.h"
#include "content/config.h"
#include "content/levels.h"

#include <cstdio>
#include <sstream>
#include <utility>

namespace {
template <typename Engine>
void restoreEngine(Engine& engine, const std::string& text) {
    std::istringstream stream(text);
    stream >> engine;  // checked when the file was read
}

std::string hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// Compares the recorded digests due after this frame.
bool digestsMatch(Game& game) {
    ReplayLog& log = game.replay;
    const std::vector<ReplayCheck>& checks = log.replay.checks;
    bool match = true;
    while (log.next_check < checks.size() && checks[log.next_check].frame <= log.frames_played) {
        log.last_digest = battleDigest(game);
        match = match && checks[log.next_check].digest == log.last_digest;
        ++log.next_check;
    }
    return match;
}

// A LAN match's side as it stood just before the message that started the match: the
// connection is taken as up (nothing is ever sent: there is no socket) and the match
// waits for that message, the replay's first.
void awaitRecordedStart(Game& game, const nlohmann::json& link) {
    clearMatch(game);
    game.network_mode = game.lobby_active = true;
    game.opponent_ready = false;
    game.lobby.is_host = game.replay.replay.host;
    game.lobby.connected = true;
    game.link = PeerLink();
    game.link.peer_version = link.value("peer_version", std::uint8_t(0));
    game.link.round_trip_ms = link.value("round_trip_ms", -1);
    game.link.smoothed_round_trip_ms = link.value("smoothed_round_trip_ms", -1.0f);
    game.sync.share_battle = link.value("share_battle", true);
    game.rejoin = Rejoin();
}
}  // namespace

std::string startReplay(Game& game) {
    ReplayLog& log = game.replay;
    const Replay& replay = log.replay;
    log.recording = false;
    log.playing = true;
    game.game_started = game.faction_confirmed = true;
    game.network_mode = game.lobby_active = false;
    game.player_faction = replay.player_faction;
    game.enemy_faction = replay.enemy_faction;
    game.all_levels = replay.levels.get<std::vector<nlohmann::json>>();
    if (replay.level == 0) {
        awaitRecordedStart(game, replay.link);
    } else {
        startLevel(game, replay.level_data);
        game.level_running = true;
    }
    clearFieldForMatch(game);
    game.level_select_active = false;
    if (std::string why = applyMatchEconomy(game, replay.economy); !why.empty()) return why;
    restoreBattleRand(replay.battle_rand);
    restoreEngine(game.rng, replay.units_rng);
    restoreEngine(game.effects.rng, replay.effects_rng);
    log.reader = ReplayFrameReader();
    log.reader.frames = &replay.frames;
    log.next_check = 0;
    log.frames_played = 0;
    log.game_time = 0;
    log.feed.clear();
    log.ahead_us = -1;
    log.diverged = false;
    sampleMoneyCurve(log, game, -1);
    return "";
}

bool readReplayFrameAhead(Game& game) {
    ReplayLog& log = game.replay;
    if (log.ahead_us >= 0) return true;
    std::int64_t frame_us = 0;
    if (!readReplayFrame(log.reader, frame_us, log.ahead_commands)) return false;
    log.ahead_us = frame_us;
    return true;
}

ReplayStep playReplayFrame(Game& game, ManualClockSource& clock) {
    if (!readReplayFrameAhead(game))
        return game.replay.reader.error.empty() ? ReplayStep::Ended : ReplayStep::Malformed;
    return playFrameAhead(game, [&](std::int64_t frame_us) { clock.advanceMicroseconds(frame_us); });
}

ReplayStep playFrameAhead(Game& game, const std::function<void(std::int64_t)>& advance_clock) {
    ReplayLog& log = game.replay;
    std::int64_t frame_us = log.ahead_us;
    log.ahead_us = -1;
    log.feed.clear();
    for (ReplayCommand& command : log.ahead_commands) {
        if (actsWithinFrame(command.kind))
            log.feed.push_back(std::move(command));
        else
            applyCommand(game, command);
    }
    advance_clock(frame_us);
    update(game, static_cast<float>(frame_us) / 1000000.0f);
    ++log.frames_played;
    double before = log.game_time;
    log.game_time += double(frame_us) / 1e6;
    sampleMoneyCurve(log, game, before);
    if (digestsMatch(game)) return ReplayStep::Played;
    log.diverged = true;
    return ReplayStep::Diverged;
}

void endReplay(Game& game) {
    ReplayLog& log = game.replay;
    if (!log.playing) return;
    log.playing = false;
    if (log.replay.level != 0) return;
    game.lobby.connected = false;
    game.lobby.is_host = false;
    game.link = PeerLink();
    game.rejoin = Rejoin();
    game.network_mode = game.lobby_active = false;
}

ReplayVerdict verifyReplay(const std::string& file) {
    ReplayVerdict verdict;
    Replay replay;
    if (std::string why = loadReplay(file, replay); !why.empty()) {
        verdict.line = "replay refused: " + file + ": " + why;
        return verdict;
    }
    silenceLog(true);
    // The replay plays by its own rules, whatever config.json lies beside the game.
    nlohmann::json own_rules = std::exchange(Config::instance().document, replay.config);
    ManualClockSource clock;
    Game game(GameOptions{true, Seeds{}, ""});
    game.replay.replay = std::move(replay);
    if (std::string why = startReplay(game); !why.empty()) {
        endReplay(game);
        silenceLog(false);
        Config::instance().document = std::move(own_rules);
        verdict.line = "replay refused: " + file + ": " + why;
        return verdict;
    }
    ReplayStep step;
    do step = playReplayFrame(game, clock);
    while (step == ReplayStep::Played);
    endReplay(game);
    silenceLog(false);
    Config::instance().document = std::move(own_rules);
    const ReplayLog& log = game.replay;
    std::uint32_t frames = log.frames_played;
    char time[32];
    std::snprintf(time, sizeof(time), "%.3f", log.game_time);
    if (step == ReplayStep::Malformed) {
        verdict.line = "replay refused: " + file + ": " + log.reader.error;
    } else if (step == ReplayStep::Diverged) {
        verdict.status = 1;
        verdict.line = "replay diverged at frame " + std::to_string(frames) + " (game time " + time + " s)";
    } else if (frames != log.replay.frame_count || log.next_check != log.replay.checks.size()) {
        verdict.line = "replay refused: " + file + ": it holds " + std::to_string(frames) + " frames, not the " +
                       std::to_string(log.replay.frame_count) + " its header says";
    } else {
        verdict.status = 0;
        verdict.line = "replay ok: " + std::to_string(frames) + " frames, digest " + hex(log.last_digest);
    }
    return verdict;
}
