#pragma once
#include "content/replay_start.h"

#include <cstdint>

struct Game;

// Every match is recorded from its first frame; the recording is written when the match
// ends, is left, or the game closes (app/replay_play.h plays it back).

// One frame of the running game, frame_us long, the time source already that much on:
// the frame update, then the frame and its commands into the recording.
void stepFrame(Game& game, std::int64_t frame_us);
// The match is over or left: the recording is written, once.
void finishRecording(Game& game);
