#pragma once

struct Game;

// Advances the match by one frame of dt seconds (unclamped).
void update(Game& game, float dt);
// Once a frame, on every screen: sends what waits for the peer, and ends a network game
// whose opponent has left.
void followConnection(Game& game);
// Back to the level selection with everything reset and the factions kept.
void resetAfterResults(Game& game);
// Keeps the world view's centre inside the world bounds.
void clampView(Game& game);
