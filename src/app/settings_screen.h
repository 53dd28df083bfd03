#pragma once
#include "app/input_event.h"

struct Game;

// The settings screen, from the main menu's 设置: each change applies at once and is kept.

void openSettings(Game& game);
// Esc: a rebinding under way is given up, else the screen closes.
void leaveSettings(Game& game);
// Clicks on the sliders, switches and keys, and dragging along a slider.
void settingsScreenInput(Game& game, const InputEvent& event);
// The pause menu: Esc in a match opens it (a single-player match stands still under it;
// a network match goes on), and Esc again or 继续 closes it. Takes every event while it is
// open, and the Esc that opens it; true when it took the event.
bool pauseMenuInput(Game& game, const InputEvent& event);

// While a key is being rebound, the key pressed becomes its key (Esc gives up); true when
// the press was taken so.
bool takeRebindingKey(Game& game, const InputEvent& event);
