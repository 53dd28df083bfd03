#pragma once
#include "app/input_event.h"

#include <string>

struct Game;

// SINGLE PLAYER (network false) or NETWORK on the main menu.
void startMode(Game& game, bool network);
// --host and --join: the network lobby opens, and HOST is pressed (from this port on) or
// the address is joined, as a click in the lobby would.
void hostFromStart(Game& game, unsigned short port);
void joinFromStart(Game& game, const std::string& address);

// Mouse input of each screen, in window coordinates.
void mainMenuInput(Game& game, const InputEvent& event);
void lobbyInput(Game& game, const InputEvent& event);
// Whether keys go to the lobby's address field (a click on it gave it the keys).
bool typingAddress(const Game& game);
// Typing, Backspace, Enter (connects), Esc (leaves the field) and Ctrl+V in the field.
void addressFieldInput(Game& game, const InputEvent& event);
void factionSelectInput(Game& game, const InputEvent& event);
void levelSelectInput(Game& game, const InputEvent& event);
// To the main menu: networking dropped, the match cleared.
void backToMainMenu(Game& game);
// Esc: one screen back, never further than the main menu. The lobby and a network
// game's faction selection drop all networking; the results go straight back to the
// level selection; the settings close. In a match Esc is the pause menu's.
void stepBack(Game& game);
