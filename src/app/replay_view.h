#pragma once
#include "app/input_event.h"
#include "content/replay.h"
#include "content/texts.h"

#include <cstdint>
#include <string>

struct Game;
class FrameClockSource;

// The replays button (回放) of the level selection, the list of kept replays it opens,
// and a replay watched in the match view: no input changes its battle; Space pauses,
// 1 to 4 play at 1x, 2x, 4x and 8x, Esc goes back.

void openReplayList(Game& game);
void replayListInput(Game& game, const InputEvent& event);
// One row of the list: date, level, factions, result and length.
std::string listingLine(const Texts& texts, const Replay& replay);

// Starts watching a replay file; "" or why it cannot be played.
std::string watchReplay(Game& game, const std::string& file);
bool watchingReplay(const Game& game);
// Back to the list (or, from --replay, the main menu), with the player's own rules.
void stopWatching(Game& game);
// The viewer's keys; true when the event is the viewer's or kept from the battle.
bool replayViewerInput(Game& game, const InputEvent& event);
// One frame of the window's loop while a replay shows, wall_us of real time long: as many
// recorded frames as that time at the chosen speed holds.
void watchReplayFrame(Game& game, FrameClockSource& time, std::int64_t wall_us);
