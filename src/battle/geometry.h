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
