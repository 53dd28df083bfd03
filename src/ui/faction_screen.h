#pragma once

struct Game;

// Draws the faction selection screen over its glowing hexagon field and presents it.
void drawFactionScreen(Game& game);
