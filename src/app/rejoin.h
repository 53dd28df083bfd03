#pragma once

struct Game;

// A network match whose connection drops is held on both games, exactly like a pause,
// for up to a minute: the host listens again, the joining game connects again, and the
// host takes back only the same match's peer and gives it everything it needs to go on.

// Whether a drop now holds the match rather than ending it.
bool canHoldForRejoin(const Game& game);
// The drop: the match stands still and both games say so.
void holdForRejoin(Game& game);
// Each frame: the rejoin messages, listening or connecting again, the minute's end.
void followRejoin(Game& game);
// Host: the held match's peer is back and has been told the match; it goes on (also as a
// replay plays the moment back).
void resumeTakenBack(Game& game);
