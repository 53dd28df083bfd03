#pragma once
#include "app/input_event.h"

struct Game;

// The program's only loop; returns when the window is closed.
void run(Game& game);
// Battlefield input and keys for every event, then the input of the screen that shows.
void handleEvent(Game& game, const InputEvent& event);
// Reads the mouse and the camera keys into game.input.
void sampleInput(Game& game);
