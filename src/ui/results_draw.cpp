#include "app/game.h"
#include "ui/results.h"

void drawResultsText(Game& game, Canvas& canvas) { drawDirect(canvas, game.results_text); }
