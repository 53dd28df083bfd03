#pragma once

struct Game;

// Advances the match by one frame of dt seconds (unclamped).
void update(Game& game, float dt);
// Once a frame, on every screen: sends what waits for the peer, and ends a network game
// whose opponent has left.
void followConnection(Game& game);
// The opponent is gone for good: the match ends and the lobby says so.
void endGameWithoutOpponent(Game& game);
// Empties the field and restores money, upgrades, incomes, schedules and clocks as a
// new match needs them; ends any pause. The factions and screen flags other than
// game_over and level_running stay.
void clearMatch(Game& game);
// Back to the level selection with everything reset and the factions kept.
void resetAfterResults(Game& game);
// The camera and the side panel follow the player for dt seconds; nothing else moves.
void followView(Game& game, float dt);
// Keeps the world view's centre inside the world bounds.
void clampView(Game& game);
// Plays the sounds of what the rules recorded and tells the peer its part, in the order
// it happened, then empties the list. The frame update does it; so does the loop after
// each input, so a spawn's messages leave before the next event is handled.
void actOnBattleEvents(Game& game);
// Rebuilds shown_levels from all_levels and lays out the back button.
void enterLevelSelection(Game& game);
