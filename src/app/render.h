#pragma once

struct Game;

// Clears, draws the screen the flags select, and presents it.
void render(Game& game);
