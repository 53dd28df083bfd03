#pragma once

struct Game;

// A running single-player match pauses alone; a network match pauses on both machines
// (net/peer_link.h), and only when the peer knows the shared pause.
bool canPause(const Game& game);
// P: pauses a running match, or resumes a paused one. Ignored elsewhere.
void togglePause(Game& game);
// Ends a pause, if any; the match clocks go on from where they stood.
void resumeMatch(Game& game);
