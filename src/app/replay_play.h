#pragma once
#include "content/replay.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

struct Game;
class ManualClockSource;

// Playing a recorded match back: the rules, level, factions, economy and engines as the
// match began, then each frame with its commands.

// Starts the replay already in game.replay.replay; "" or why it cannot be played.
std::string startReplay(Game& game);

enum class ReplayStep { Played, Ended, Diverged, Malformed };
// Reads the next recorded frame ahead (game.replay.ahead_us is its length); false at the
// end or at a malformed frame.
bool readReplayFrameAhead(Game& game);
// Plays the frame read ahead: its commands, the time source moved on by its length (so
// every clock reads what it read when the match was played), the update, the digests due.
ReplayStep playFrameAhead(Game& game, const std::function<void(std::int64_t)>& advance_clock);
// Both, for a check at full speed.
ReplayStep playReplayFrame(Game& game, ManualClockSource& clock);

// Playing back is over: a LAN match's stand-in connection goes with it.
void endReplay(Game& game);

// What a check of a replay came to, for --verify-replay.
struct ReplayVerdict {
    int status = 2;          // 0 every digest matched, 1 diverged, 2 not a replay that can be played
    std::string line;        // the one line the check prints
};
ReplayVerdict verifyReplay(const std::string& file);
