#include "ui/unit_art.h"
#include "app/game.h"

void drawUnit(Game& game, Canvas& canvas, const Turret& unit) {
    (void)game;
    drawShape(canvas, unit.body);
    drawShape(canvas, unit.barrel);
}

void drawMinimap(Game& game, Canvas& canvas) {
    (void)game;
    (void)canvas;
}
