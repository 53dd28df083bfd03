#include "battle/battle_math.h"

#include <cmath>

namespace {
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoOverPi = 0.63661977236758134;
// π/2 in two parts: the first holds 33 bits, so k times it is exact for any k a battle meets.
constexpr double kHalfPiHigh = 1.57079632673412561417e+00;
constexpr double kHalfPiLow = 6.07710050650619224932e-11;
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kInverseLn2 = 1.44269504088896338700e+00;

// sin and cos of r within ±π/4, by their minimax polynomials.
double sineNearZero(double r) {
    double z = r * r;
    double p = 1.58969099521155010221e-10;
    p = p * z - 2.50507602534068634195e-08;
    p = p * z + 2.75573137070700676789e-06;
    p = p * z - 1.98412698298579493134e-04;
    p = p * z + 8.33333333332248946124e-03;
    p = p * z - 1.66666666666666324348e-01;
    return r + r * z * p;
}

double cosineNearZero(double r) {
    double z = r * r;
    double p = -1.13596475577881948265e-11;
    p = p * z + 2.08757232129817482790e-09;
    p = p * z - 2.75573143513906633035e-07;
    p = p * z + 2.48015872894767294178e-05;
    p = p * z - 1.38888888888741095749e-03;
    p = p * z + 4.16666666666666019037e-02;
    return 1.0 - 0.5 * z + z * z * p;
}

// x as r + k·π/2 with r within ±π/4; the quarter turn k modulo 4.
int reduceQuarterTurns(double x, double& r) {
    double k = std::floor(x * kTwoOverPi + 0.5);
    r = (x - k * kHalfPiHigh) - k * kHalfPiLow;
    return int(k - 4.0 * std::floor(k / 4.0));
}

// atan(i/8), i = 0..8.
constexpr double kAtanEighths[9] = {0.0,
                                    0.12435499454676144,
                                    0.24497866312686414,
                                    0.35877067027057225,
                                    0.4636476090008061,
                                    0.5585993153435624,
                                    0.6435011087932844,
                                    0.7188299996216245,
                                    0.7853981633974483};

// atan(t) for 0 <= t <= 1: from the nearest eighth c, atan(t) = atan(c) + atan(u) with
// u = (t - c) / (1 + t·c) within ±1/16, where a short series is exact to double precision.
double arcTangentUpToOne(double t) {
    int i = int(t * 8.0 + 0.5);  // positive: the cut is the floor, without a library call
    double c = i / 8.0;
    double u = (t - c) / (1.0 + t * c);
    double z = u * u;
    // 1/11, 1/9, ..., 1/1, divided once by the compiler instead of at every call.
    constexpr double kOddReciprocals[] = {1.0 / 11, 1.0 / 9, 1.0 / 7, 1.0 / 5, 1.0 / 3, 1.0};
    double series = 1.0 / 13;
    for (double reciprocal : kOddReciprocals) series = reciprocal - z * series;
    return kAtanEighths[i] + u * series;
}

double arcTangent2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) return x + y;
    double ay = std::fabs(y), ax = std::fabs(x);
    double angle;
    if (ay == 0 && ax == 0)
        angle = 0;
    else if (ay <= ax)
        angle = arcTangentUpToOne(ay / ax);
    else
        angle = kHalfPi - arcTangentUpToOne(ax / ay);
    if (std::signbit(x)) angle = kPi - angle;
    return std::signbit(y) ? -angle : angle;
}
}  // namespace

float battleSin(float radians) {
    double r;
    switch (reduceQuarterTurns(radians, r)) {
        case 0: return float(sineNearZero(r));
        case 1: return float(cosineNearZero(r));
        case 2: return float(-sineNearZero(r));
        default: return float(-cosineNearZero(r));
    }
}

float battleCos(float radians) {
    double r;
    switch (reduceQuarterTurns(radians, r)) {
        case 0: return float(cosineNearZero(r));
        case 1: return float(-sineNearZero(r));
        case 2: return float(-cosineNearZero(r));
        default: return float(sineNearZero(r));
    }
}

float battleAtan2(float y, float x) { return float(arcTangent2(y, x)); }

float battleAcos(float x) {
    double d = x;
    return float(arcTangent2(std::sqrt((1.0 - d) * (1.0 + d)), d));
}

float battleExp(float x) {
    if (std::isnan(x)) return x;
    double d = x < -200.0f ? -200.0 : x > 200.0f ? 200.0 : double(x);
    double k = std::floor(d * kInverseLn2 + 0.5);
    double r = (d - k * kLn2High) - k * kLn2Low;  // within ±ln 2 / 2
    double sum = 1.0;
    for (int n = 14; n >= 1; --n) sum = 1.0 + r * sum / n;
    return float(std::ldexp(sum, int(k)));
}

// log x = k·ln 2 + log m with m within [√½, √2], and log m = 2·atanh s, s = (m - 1) / (m + 1)
// within ±0.172, by its series.
float battleLog(float x) {
    if (std::isnan(x) || x < 0) return std::nanf("");
    if (x == 0) return -HUGE_VALF;
    if (std::isinf(x)) return x;
    int k;
    double m = std::frexp(double(x), &k);  // within [½, 1)
    if (m < 0.70710678118654752) {
        m *= 2;
        --k;
    }
    double s = (m - 1) / (m + 1), z = s * s;
    double series = 1.0 / 27;
    for (int n = 25; n >= 1; n -= 2) series = 1.0 / n + z * series;
    return float(k * kLn2High + (k * kLn2Low + 2 * s * series));
}

double battlePower(double base, int exponent) {
    double result = 1.0;
    for (int i = 0; i < exponent; ++i) result *= base;
    for (int i = 0; i > exponent; --i) result /= base;
    return result;
}
