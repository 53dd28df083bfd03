#pragma once

// A rectangle in world pixels (x, y is the top-left corner).
struct Rect {
    float x = 0, y = 0, width = 0, height = 0;
};

// The battlefield in world pixels; y grows downwards, the player holds the bottom.
struct WorldBounds {
    float min_x = -200, max_x = 1100, min_y = -600, max_y = 1200;
};
