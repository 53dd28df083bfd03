#pragma once
#include "app/input_event.h"

struct Game;
struct Settings;

// Keys that change how the game is shown and heard, on any screen: the fullscreen key
// (F11 unless rebound) switches fullscreen, the music key (M) turns the music off and on
// for the rest of the run.
void handleSettingsKeys(Game& game, const InputEvent& event);

// The player's settings put to work: the volumes, fullscreen, vertical sync and the frame
// cap (a window made again loses the last two, so it is called after that too).
void applySettings(Game& game);
// The settings changed from inside the game: applied at once, and kept.
void changeSettings(Game& game, const Settings& changed);
