#pragma once
#include <SFML/System/Vector2.hpp>

struct Game;

// What the mouse lights up on the faction screen.
struct FactionHover {
    int territory = -1;  // faction whose territory glows, -1 none; a hovered card wins
    int card = -1;       // card under the mouse, -1 none
};

// Hover state for a mouse position in a window of the given size (view coordinates).
FactionHover findFactionHover(sf::Vector2f mouse, sf::Vector2f window_size);

// Columns (x) and rows (y) of the faction screen's hexagon field for a window size.
sf::Vector2i factionHexGrid(sf::Vector2f window_size);

// Draws the faction selection screen over its glowing hexagon field and presents it.
// It draws into the canvas target (the window in the game) and displays the window.
void drawFactionScreen(Game& game);
