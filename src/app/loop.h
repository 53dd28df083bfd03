#pragma once
#include <SFML/Window/Event.hpp>

struct Game;

// The program's only loop; returns when the window is closed.
void run(Game& game);
// Battlefield input and keys for every event, then the input of the screen that shows.
void handleEvent(Game& game, const sf::Event& event);
// Reads the mouse and the camera keys into game.input.
void sampleInput(Game& game);
