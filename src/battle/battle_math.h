#pragma once
#include <cmath>

// The battle's sine, cosine, arc tangents, lengths and exponential. Each C runtime rounds
// its own sinf, atan2f and the rest a little differently, so a battle reckoned with them
// on Linux parts from the same battle on Windows within a second. These are reckoned in
// double precision from additions, multiplications, divisions and square roots alone,
// which every IEEE machine rounds alike, then rounded once to float: the same on every
// build, and almost always the correctly rounded value itself.

float battleSin(float radians);
float battleCos(float radians);
float battleAtan2(float y, float x);
float battleAcos(float x);
// Both squares and their sum are exact in double for any two floats but the largest. Inline:
// every distance of the units' pass goes through it.
inline float battleHypot(float x, float y) { return float(std::sqrt(double(x) * x + double(y) * y)); }
float battleExp(float x);
float battleLog(float x);
// base to a whole power (the upgrades' compound steps), in double precision.
double battlePower(double base, int exponent);
