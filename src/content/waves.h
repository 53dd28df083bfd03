#pragma once

struct Game;

// One step of the computer opponent's unit waves and upgrade schedule.
void runWaves(Game& game);
