#pragma once
#include "app/input_event.h"

struct Game;

// Mouse input of each screen, in window coordinates.
void mainMenuInput(Game& game, const InputEvent& event);
void lobbyInput(Game& game, const InputEvent& event);
void factionSelectInput(Game& game, const InputEvent& event);
void levelSelectInput(Game& game, const InputEvent& event);
// Esc: one screen back, never further than the main menu. The lobby and a network
// game's faction selection drop all networking; a single-player match or the results
// go straight back to the level selection; a network match ignores it.
void stepBack(Game& game);
