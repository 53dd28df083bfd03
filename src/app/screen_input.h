#pragma once
#include <SFML/Window/Event.hpp>

struct Game;

// Mouse input of each screen, in window coordinates.
void mainMenuInput(Game& game, const sf::Event& event);
void lobbyInput(Game& game, const sf::Event& event);
void factionSelectInput(Game& game, const sf::Event& event);
void levelSelectInput(Game& game, const sf::Event& event);
