#pragma once

struct Game;
struct Turret;
struct Canvas;

// The faction body art, then the faction barrel art, turned with the unit's barrel.
void drawUnit(Game& game, Canvas& canvas, const Turret& unit);
// The minimap in the top-right corner, in window coordinates.
void drawMinimap(Game& game, Canvas& canvas);
