#pragma once
#include "content/replay.h"

struct Game;

// Where a recording begins: the rules, economy and engines as the match starts
// (app/replay_record.h records its frames, app/replay_play.h plays it back).

// A fresh field for a match that begins: no sparks, smoke, tracks or territory of the
// match before, so the battle depends on nothing a replay does not hold.
void clearFieldForMatch(Game& game);
// The match just started (level = 1 to 10 and the level as started, or 0 on the LAN):
// its rules, economy and engines.
void beginRecording(Game& game, int level, const nlohmann::json& level_data);
// Both sides' money into the log's curve every half second of game time (before: the game
// time before this frame), and at the start (before < 0).
void sampleMoneyCurve(ReplayLog& log, const Game& game, double before);

// The economy as the match began, for the replay to start from the same.
nlohmann::json matchEconomy(const Game& game);
// "" when applied, else why the values cannot be used.
std::string applyMatchEconomy(Game& game, const nlohmann::json& economy);
