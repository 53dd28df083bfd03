#pragma once

struct Game;

// Advances the match by one frame of dt seconds (unclamped).
void update(Game& game, float dt);
// Once a frame, on every screen: sends what waits for the peer, and ends a network game
// whose opponent has left.
void followConnection(Game& game);
// Empties the field and restores money, upgrades, incomes, schedules and clocks as a
// new match needs them; ends any pause. The factions and screen flags other than
// game_over and level_running stay.
void clearMatch(Game& game);
// Back to the level selection with everything reset and the factions kept.
void resetAfterResults(Game& game);
// Keeps the world view's centre inside the world bounds.
void clampView(Game& game);
