#pragma once

struct Game;

// Only a running single-player match pauses: a network match runs on both machines.
bool canPause(const Game& game);
// P: pauses a running single-player match, or resumes a paused one. Ignored elsewhere.
void togglePause(Game& game);
// Ends a pause, if any; the match clocks go on from where they stood.
void resumeMatch(Game& game);
