#include "battle/effects_draw.h"
#include "battle/effects.h"
#include "ui/canvas.h"

void drawEffects(const Effects& effects, Canvas& canvas) {
    (void)effects;
    (void)canvas;
}
