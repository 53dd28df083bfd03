#pragma once
#include "battle/battle_math.h"

#include <SFML/System/Vector2.hpp>
#include <cmath>

// A rectangle in world pixels (x, y is the top-left corner).
struct Rect {
    float x = 0, y = 0, width = 0, height = 0;
};

// The battlefield in world pixels; y grows downwards, the player holds the bottom.
struct WorldBounds {
    float min_x = -200, max_x = 1100, min_y = -600, max_y = 1200;
};

// π as a float.
constexpr float kPi = 3.14159265f;
// The battle was tuned with these rounder values (rocket headings and smoke, the hexagons'
// corners); they stay, so that every shot keeps its course.
constexpr float kPiTo5Places = 3.14159f;
constexpr float kTwoPiTo5Places = 6.28318f;
constexpr float kHalfPiTo4Places = 1.5708f;

inline float degreesToRadians(float degrees) { return degrees * kPi / 180.0f; }
inline float radiansToDegrees(float radians) { return radians * 180.0f / kPi; }

inline float vectorLength(sf::Vector2f v) { return battleHypot(v.x, v.y); }
inline float distanceBetween(sf::Vector2f a, sf::Vector2f b) { return vectorLength(a - b); }

// How vectorLength(d) compares with a bound, as a float comparison of the two would say:
// -1 below, 0 equal, 1 above, 2 unordered (a NaN). A length clear of the bound by more
// than a millionth is told from its square, which is exact in double, without the root;
// the root is taken only near the bound, so every answer is the root's own.
enum LengthOrder { kShorter = -1, kEqualLength = 0, kLonger = 1, kUnordered = 2 };
inline LengthOrder compareLength(sf::Vector2f d, float bound) {
    double square = double(d.x) * d.x + double(d.y) * d.y;
    if (bound > 1e-20f && bound < 1e30f) {
        double limit = double(bound) * bound;
        if (square < limit * (1 - 1e-6)) return kShorter;
        if (square > limit * (1 + 1e-6)) return kLonger;
    }
    float length = vectorLength(d);
    return length < bound ? kShorter : length > bound ? kLonger : length == bound ? kEqualLength : kUnordered;
}
