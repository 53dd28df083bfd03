#include "battle/battle_math.h"

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
