#pragma once

struct Canvas;
struct Projectile;

// A rocket: body, nose and three flickering flames, turned along its heading.
// Advances flame_phase once per rocket drawn.
void drawRocket(Canvas& canvas, const Projectile& rocket);
