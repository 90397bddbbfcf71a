#include "runtime/value/numeric_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace tvk {
namespace {

TEST(NumericHelpers, TrigonometryInDegreesClampsOutOfDomainInputs) {
    EXPECT_EQ(sin_deg(90), 1.0);
    EXPECT_NEAR(cos_deg(60), 0.5, 1e-15);
    EXPECT_NEAR(tan_deg(45), 1.0, 1e-15);
    EXPECT_EQ(atan2_deg(1, 0), 90.0);
    EXPECT_EQ(atan2_deg(0, -1), 180.0);
    const struct {
        double x;
        double asin;
        double acos;
    } cases[] = {
        {2, 90, 0}, {1, 90, 0}, {-1, -90, 180}, {-7, -90, 180}, {0, 0, 90},
        {std::numeric_limits<double>::infinity(), 90, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(asin_deg(c.x), c.asin) << c.x;
        EXPECT_EQ(acos_deg(c.x), c.acos) << c.x;
    }
    EXPECT_NEAR(asin_deg(0.5), 30.0, 1e-12);
    EXPECT_EQ(square_root(16), 4.0);
    EXPECT_EQ(natural_log(1), 0.0);
    EXPECT_EQ(power(2, 10), 1024.0);
}

TEST(NumericHelpers, RemaindersFollowTheDividendAndZeroDivisorGivesZero) {
    const struct {
        int32_t a, b, r;
    } ints[] = {
        {-7, 3, -1}, {7, -3, 1}, {7, 3, 1}, {5, 0, 0}, {0, 0, 0},
        {INT32_MIN, -1, 0},  // no 32-bit quotient exists; must not trap
        {INT32_MIN, 3, -2}, {INT32_MAX, INT32_MIN, INT32_MAX},
    };
    for (const auto& c : ints) EXPECT_EQ(int_mod(c.a, c.b), c.r) << c.a << " " << c.b;
    EXPECT_EQ(float_mod(7.5, 2), 1.5);
    EXPECT_EQ(float_mod(-7.5, 2), -1.5);
    EXPECT_EQ(float_mod(5, 0), 0.0);
    EXPECT_EQ(float_mod(5, -0.0), 0.0);
}

TEST(NumericHelpers, MinimumAndMaximum) {
    EXPECT_EQ(max_float(1, 2), 2.0);
    EXPECT_EQ(min_float(1, 2), 1.0);
    EXPECT_EQ(max_int(-3, -4), -3);
    EXPECT_EQ(min_int(-3, -4), -4);
    // With a NaN the comparison fails and the second operand comes back.
    EXPECT_EQ(max_float(std::nan(""), 3), 3.0);
    EXPECT_TRUE(std::isnan(min_float(3, std::nan(""))));
    EXPECT_EQ(max_int_float(5, 7.9), 7);
    EXPECT_EQ(max_int_float(5, 4.9), 5);
    EXPECT_EQ(max_int_float(-5, -4.9), -4);
    EXPECT_EQ(max_int_float(0, 1e30), INT32_MAX);
    EXPECT_EQ(max_int_float(-1, std::nan("")), 0);
    double a = 1, b = 2;
    swap_floats(a, b);
    EXPECT_EQ(a, 2.0);
    EXPECT_EQ(b, 1.0);
}

TEST(NumericHelpers, BoxesOverlapWhenTheirSpansShareAPosition) {
    const struct {
        int32_t x1, y1, w1, h1, x2, y2, w2, h2;
        int32_t result;
    } cases[] = {
        {0, 0, 10, 10, 9, 9, 5, 5, 1},    // corners share position 9
        {0, 0, 10, 10, 10, 0, 5, 5, 0},   // touching edges do not overlap
        {0, 0, 10, 10, 3, 0, 0, 5, 1},    // width 0 covers x alone
        {0, 0, 10, 10, 10, 0, 0, 5, 0},
        {0, 0, 10, 10, 11, 0, -3, 5, 1},  // width -3 at 11 covers 9..11
        {0, 0, 10, 10, 11, 0, -2, 5, 0},  // covers 10..11
        {0, 0, 10, 10, 0, 20, 10, 10, 0}, // apart vertically
        {5, 5, -10, -10, 0, 0, 1, 1, 1},  // covers -4..5 both ways
        {INT32_MAX, 0, INT32_MAX, 1, INT32_MAX, 0, 1, 1, 1},  // no wrap near the limit
        {INT32_MIN, 0, INT32_MIN, 1, 0, 0, 1, 1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(boxes_overlap(c.x1, c.y1, c.w1, c.h1, c.x2, c.y2, c.w2, c.h2), c.result)
            << c.x1 << "," << c.y1 << " " << c.w1 << "x" << c.h1 << " vs " << c.x2 << ","
            << c.y2 << " " << c.w2 << "x" << c.h2;
        EXPECT_EQ(boxes_overlap(c.x2, c.y2, c.w2, c.h2, c.x1, c.y1, c.w1, c.h1), c.result);
    }
}

}  // namespace
}  // namespace tvk
