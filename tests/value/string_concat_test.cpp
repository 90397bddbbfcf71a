// Numbers as operands of appending and concatenation (their text comes from
// the number formatting of int_to_text and float_to_text).
#include <gtest/gtest.h>

#include "runtime/value/number_text.h"
#include "runtime/value/rt_string.h"
#include "string_test_text.h"

namespace tvk {
namespace {

TEST(StringConcat, NumbersBecomeTheirText) {
    const RtString s("n=");
    const char* text = "t";
    EXPECT_EQ(bytes_of(string_concat(s, 42)), "n=42");
    EXPECT_EQ(bytes_of(string_concat(-7, s)), "-7n=");
    EXPECT_EQ(bytes_of(string_concat(s, 0.5)), "n=0.5");
    EXPECT_EQ(bytes_of(string_concat(2.0, text)), "2t");
    EXPECT_EQ(bytes_of(string_concat(text, -2.5f)), "t-2.5");
    EXPECT_EQ(bytes_of(string_concat(0.5f, s)), "0.5n=");
    EXPECT_EQ(bytes_of(string_concat(1, 2)), "12");
    EXPECT_EQ(bytes_of(string_concat(2.0, 0.5f)), "20.5");
    EXPECT_EQ(bytes_of(string_concat(3, 2.0)), "32");
}

TEST(StringConcat, AppendNumberInPlace) {
    RtString s("x");
    string_append(string_append(s, 10), 0.5);
    EXPECT_EQ(bytes_of(s), "x100.5");
    EXPECT_EQ(bytes_of(string_append(s, -2.5f)), "x100.5-2.5");
}

}  // namespace
}  // namespace tvk
