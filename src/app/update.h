#pragma once

struct Game;

// Advances the match by one frame of dt seconds (unclamped).
void update(Game& game, float dt);
// Back to the level selection with everything reset and the factions kept.
void resetAfterResults(Game& game);
// Keeps the world view's centre inside the world bounds.
void clampView(Game& game);
