#pragma once

struct Canvas;
struct Effects;

// Sparks and smoke, muzzle flashes, explosions, then track marks, in the world view.
void drawEffects(const Effects& effects, Canvas& canvas);
