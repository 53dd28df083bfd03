#pragma once
#include "content/replay.h"

#include <cstdint>

struct Game;

// Every match is recorded from its first frame; the recording is written when the match
// ends, is left, or the game closes (app/replay_play.h plays it back).

// A fresh field for a match that begins: no sparks, smoke, tracks or territory of the
// match before, so the battle depends on nothing a replay does not hold.
void clearFieldForMatch(Game& game);
// The match just started (level = 1 to 10 and the level as started, or 0 on the LAN):
// its rules, economy and engines.
void beginRecording(Game& game, int level, const nlohmann::json& level_data);
// One frame of the running game, frame_us long, the time source already that much on:
// the frame update, then the frame and its commands into the recording.
void stepFrame(Game& game, std::int64_t frame_us);
// The match is over or left: the recording is written, once.
void finishRecording(Game& game);

// Both sides' money into the log's curve every half second of game time (before: the game
// time before this frame), and at the start (before < 0).
void sampleMoneyCurve(ReplayLog& log, const Game& game, double before);

// The economy as the match began, for the replay to start from the same.
nlohmann::json matchEconomy(const Game& game);
// "" when applied, else why the values cannot be used.
std::string applyMatchEconomy(Game& game, const nlohmann::json& economy);
