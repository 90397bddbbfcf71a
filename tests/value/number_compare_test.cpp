#include "runtime/value/number_compare.h"

#include <gtest/gtest.h>

#include "runtime/value/string_library.h"

#include <cmath>

namespace tvk {
namespace {

TEST(NumberCompare, StringAgainstIntegerComparesAsIntegers) {
    const RtString ten("10");
    EXPECT_TRUE(ten > 9);
    EXPECT_TRUE(9 < ten);
    // String with string stays a text comparison, even beside the number forms.
    EXPECT_FALSE(ten > RtString("9"));
    EXPECT_TRUE(ten == RtString("10"));
    EXPECT_FALSE(ten == "10.0");
    EXPECT_TRUE(ten == 10.0);
    // Against an integer the text is read with text_to_int: 3.9 reads as 3.
    const RtString frac("3.9");
    EXPECT_TRUE(frac == 3);
    EXPECT_TRUE(3 == frac);
    EXPECT_FALSE(frac > 3);
    EXPECT_TRUE(frac != 4);
    EXPECT_TRUE(frac <= 3);
    EXPECT_TRUE(4 >= frac);
    EXPECT_EQ(compare_text_number(frac, 3), 0);
    EXPECT_EQ(compare_text_number(frac, 4), -1);
    EXPECT_EQ(compare_text_number(frac, 2), 1);
    EXPECT_TRUE(RtString("abc") == 0);
    EXPECT_TRUE(RtString("") == 0);
}

TEST(NumberCompare, StringAgainstFloatComparesAsDoubles) {
    const RtString frac("3.9");
    EXPECT_FALSE(frac == 3.0);
    EXPECT_TRUE(frac > 3.0);
    EXPECT_TRUE(3.0 < frac);
    EXPECT_TRUE(frac == 3.9);
    EXPECT_TRUE(3.9 == frac);
    EXPECT_TRUE(frac <= 3.9);
    EXPECT_TRUE(frac >= 3.9);
    EXPECT_TRUE(frac != 4.0);
    EXPECT_EQ(compare_text_number(frac, 4.0), -1);
    EXPECT_EQ(compare_text_number(frac, 3.9), 0);
    EXPECT_EQ(compare_text_number(frac, 3.5), 1);
    // A single float operand is widened, not the text narrowed: 0.1f != 0.1.
    const RtString tenth("0.1");
    EXPECT_TRUE(tenth != 0.1f);
    EXPECT_TRUE(RtString("0.100000001490116119384765625") == 0.1f);
}

TEST(NumberCompare, NaNIsNeitherLessNorGreater) {
    const RtString one("1");
    const double nan = std::nan("");
    EXPECT_FALSE(one == nan);
    EXPECT_TRUE(one != nan);
    EXPECT_FALSE(one < nan);
    EXPECT_FALSE(one > nan);
    EXPECT_FALSE(one <= nan);
    EXPECT_FALSE(nan >= one);
    EXPECT_EQ(compare_text_number(one, nan), 0);
}

}  // namespace
}  // namespace tvk
