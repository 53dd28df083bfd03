#pragma once
#include <SFML/Window/Event.hpp>

struct Game;

// Mouse input of each screen, in window coordinates.
void mainMenuInput(Game& game, const sf::Event& event);
void lobbyInput(Game& game, const sf::Event& event);
void factionSelectInput(Game& game, const sf::Event& event);
void levelSelectInput(Game& game, const sf::Event& event);
// Esc: one screen back, never further than the main menu. The lobby and a network
// game's faction selection drop all networking; a single-player match or the results
// go straight back to the level selection; a network match ignores it.
void stepBack(Game& game);
