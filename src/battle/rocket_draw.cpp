#include "battle/rocket_draw.h"
#include "battle/projectile.h"
#include "ui/canvas.h"

void drawRocket(Canvas& canvas, const Projectile& rocket) { drawShape(canvas, rocket.shape); }
