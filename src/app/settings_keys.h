#pragma once
#include "app/input_event.h"

struct Game;

// Keys that change how the game is shown and heard, on any screen: F11 switches
// fullscreen, M turns the music off and on for the rest of the run.
void handleSettingsKeys(Game& game, const InputEvent& event);
