#include "runtime/value/format_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace tvk {
namespace {

TEST(FormatNumber, FixedPlacesInAColumn) {
    const struct {
        double width, decimals, value;
        const char* text;
    } cases[] = {
        {6, 2, 3.14159, "  3.14"},
        {8, 2, -3.14159, "   -3.14"},
        {0, 0, 2.5, "2"},         // exact ties round to even, as %f does
        {0, 0, 3.5, "4"},
        {1, 3, 12.3456, "12.346"},  // a field too narrow grows
        {5.9, 1.9, 1.0, "  1.0"},   // counts truncate toward zero
        {-6, 2, 3.14159, "3.14  "},  // a negative width aligns left
        {6, -2, 3.7, "     4"},      // negative decimals mean none
        {std::nan(""), std::nan(""), 1.25, "1"},
        {4, 1, std::numeric_limits<double>::infinity(), " inf"},
        {5, 1, -std::numeric_limits<double>::infinity(), " -inf"},
        {0, 2, 1e20, "100000000000000000000.00"},
    };
    for (const auto& c : cases) {
        const RtString s = format_number(c.width, c.decimals, c.value);
        EXPECT_STREQ(s.c_str(), c.text) << c.width << " " << c.decimals << " " << c.value;
        EXPECT_EQ(s.length, std::strlen(c.text));
    }
    EXPECT_STREQ(format_number(3, 0, std::nan("")).c_str(), "nan");
    EXPECT_STREQ(format_number(0, 2, 0).c_str(), "0.00");
}

TEST(FormatNumber, HostileCountsAreLimitedNotOverrun) {
    const size_t limit = kFormatNumberLimit;
    const double inf = std::numeric_limits<double>::infinity();
    // Widths beyond the limit are held at it, either way round.
    for (double width : {1e9, 1e300, inf, 4e9, 2147483648.0}) {
        const RtString s = format_number(width, 2, 1.5);
        ASSERT_EQ(s.length, limit) << width;
        EXPECT_EQ(std::string(s.c_str() + limit - 4), "1.50");
        EXPECT_EQ(std::strspn(s.c_str(), " "), limit - 4);
    }
    for (double width : {-1e9, -inf, -2147483649.0}) {
        const RtString s = format_number(width, 2, 1.5);
        ASSERT_EQ(s.length, limit) << width;
        EXPECT_EQ(std::string(s.c_str(), 4), "1.50");
    }
    // Huge decimal counts on the largest magnitude: 309 whole digits, the point, the places.
    const RtString big = format_number(0, 1e12, -std::numeric_limits<double>::max());
    EXPECT_EQ(big.length, 1 + 309 + 1 + limit);
    EXPECT_EQ(big.data[0], '-');
    EXPECT_EQ(std::strlen(big.c_str()), big.length);
    const RtString tiny = format_number(-1e9, inf, std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(tiny.length, 2 + limit);
    EXPECT_EQ(std::string(tiny.c_str(), 4), "0.00");
}

}  // namespace
}  // namespace tvk
