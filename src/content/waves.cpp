#include "content/waves.h"
#include "app/game.h"

void runWaves(Game& game) { (void)game; }
