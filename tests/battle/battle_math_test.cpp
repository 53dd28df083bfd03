#include "battle/battle_math.h"
#include "battle/geometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

// Each function against the double-precision library function rounded to float, over the
// ranges the battle uses: a fault in a kernel or a reduction shows in thousands of values;
// a C runtime whose double function itself is off in the last bit may part in a handful.
TEST(BattleMath, EachFunctionIsTheDoubleResultRoundedOnce) {
    std::mt19937 engine(5);
    std::uniform_real_distribution<float> angle(-40, 40), field(-3000, 3000), cosine(-1, 1), exponent(-30, 5),
        positive(1e-7f, 1);
    const int samples = 200000;
    int differ[7] = {};
    for (int i = 0; i < samples; ++i) {
        float a = angle(engine), x = field(engine), y = field(engine), c = cosine(engine), e = exponent(engine),
              p = positive(engine);
        differ[0] += battleSin(a) != float(std::sin(double(a)));
        differ[1] += battleCos(a) != float(std::cos(double(a)));
        differ[2] += battleAtan2(y, x) != float(std::atan2(double(y), double(x)));
        differ[3] += battleAcos(c) != float(std::acos(double(c)));
        differ[4] += battleHypot(x, y) != float(std::hypot(double(x), double(y)));
        differ[5] += battleExp(e) != float(std::exp(double(e)));
        differ[6] += battleLog(p) != float(std::log(double(p)));
    }
    for (int f = 0; f < 7; ++f) EXPECT_LE(differ[f], samples / 20000) << "function " << f;
}

TEST(BattleMath, QuadrantsZerosAndPowers) {
    const float pi = 3.14159265f;
    EXPECT_EQ(battleAtan2(0.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(battleAtan2(0.0f, -0.0f), pi);
    EXPECT_FLOAT_EQ(battleAtan2(-0.0f, -1.0f), -pi);
    EXPECT_FLOAT_EQ(battleAtan2(1.0f, 0.0f), pi / 2);
    EXPECT_FLOAT_EQ(battleAtan2(-1.0f, 0.0f), -pi / 2);
    EXPECT_FLOAT_EQ(battleAtan2(-1.0f, -1.0f), -3 * pi / 4);
    EXPECT_TRUE(std::signbit(battleAtan2(-0.0f, 2.0f)));
    EXPECT_EQ(battleCos(pi), -1.0f);
    EXPECT_FLOAT_EQ(battleAcos(-1.0f), pi);
    EXPECT_EQ(battleExp(-1000.0f), 0.0f);
    EXPECT_EQ(battleLog(1.0f), 0.0f);
    EXPECT_EQ(battleLog(0.0f), -HUGE_VALF);
    EXPECT_TRUE(std::isnan(battleLog(-1.0f)));
    EXPECT_EQ(battlePower(1.5, 3), 3.375);
    EXPECT_EQ(battlePower(2.0, -2), 0.25);
}

// Lengths a few millionths either side of the bound, where the shortcut by squares hands
// over to the root, and bounds it does not take: every answer is the rounded root's.
TEST(BattleMath, LengthsCompareWithABoundAsTheirRootsDo) {
    std::mt19937 engine(9);
    std::uniform_real_distribution<float> turn(0, 6.2831853f), nudge(-4e-6f, 4e-6f);
    auto byRoot = [](float length, float bound) {
        return length < bound ? kShorter : length > bound ? kLonger : length == bound ? kEqualLength : kUnordered;
    };
    for (float bound : {15.0f, 30.0f, 300.0f, 1e-16f, 1e20f, 0.0f, -5.0f})
        for (int i = 0; i < 20000; ++i) {
            float a = turn(engine), r = std::abs(bound) * (1 + nudge(engine));
            sf::Vector2f d(r * std::cos(a), r * std::sin(a));
            ASSERT_EQ(compareLength(d, bound), byRoot(vectorLength(d), bound)) << d.x << ", " << d.y << " against " << bound;
        }
    EXPECT_EQ(compareLength({3, 4}, 5), kEqualLength);
    EXPECT_EQ(compareLength({NAN, 0}, 30), kUnordered);
    EXPECT_EQ(compareLength({3, 4}, NAN), kUnordered);
}
