#include "battle/hex_grid.h"
#include "app/game.h"

void buildHexGrid(Game& game) { (void)game; }

void updateHexTerritory(Game& game) { (void)game; }

void fadeHexCells(Game& game, float dt) {
    (void)game;
    (void)dt;
}
