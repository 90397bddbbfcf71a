#include "runtime/value/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

TEST(IntToText, DecimalWithMinusAndNoPadding) {
    const struct {
        int32_t value;
        const char* text;
    } cases[] = {
        {0, "0"}, {7, "7"}, {-3, "-3"}, {100, "100"},
        {2147483647, "2147483647"}, {INT32_MIN, "-2147483648"},
    };
    for (const auto& c : cases) {
        const RtString s = int_to_text(c.value);
        EXPECT_STREQ(s.c_str(), c.text);
        EXPECT_EQ(s.length, std::char_traits<char>::length(c.text));
        EXPECT_EQ(number_text_length(c.value), static_cast<int32_t>(s.length));
    }
    EXPECT_EQ(int_to_text(5).capacity, 16u);
}

TEST(FloatToText, TenSignificantDigitsWithoutTrailingPoint) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.5, "0.5"},
        {2.0, "2"},
        {-2.5, "-2.5"},
        {0.1 + 0.2, "0.3"},
        {0.05, "5.e-002"},
        {0.025, "2.5e-002"},
        {1e10, "1.e+010"},
        {123456.789, "123456.789"},
        {0.0, "0"},
        {-0.0, "0"},
        {5.0, "5"},
        {100.0, "100"},
        {-3.0, "-3"},
        {7.25, "7.25"},
        {1.0 / 3, "0.3333333333"},
        {2.0 / 3, "0.6666666667"},
        {0.1, "0.1"},
        {0.09999999999, "9.999999999e-002"},
        {0.099999999999, "0.1"},          // rounds up into fixed form
        {9999999999.0, "9999999999"},
        {9999999999.5, "1.e+010"},       // rounding carries into a new exponent
        {1234567890.5, "1234567891"},    // an exact tie rounds away from zero
        {-1234567890.5, "-1234567891"},
        {12345678901.0, "1.23456789e+010"},
        {-0.001234, "-1.234e-003"},
        {1e100, "1.e+100"},
        {1.5e-300, "1.5e-300"},
        {std::numeric_limits<double>::max(), "1.797693135e+308"},
        {std::numeric_limits<double>::denorm_min(), "4.940656458e-324"},
        {3.14159f, "3.141590118"},  // a single float is widened first
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
        {std::nan(""), "nan"},
    };
    for (const auto& c : cases) {
        const RtString s = float_to_text(c.value);
        EXPECT_STREQ(s.c_str(), c.text) << c.text;
        EXPECT_EQ(s.length, std::char_traits<char>::length(c.text)) << c.text;
        EXPECT_EQ(number_text_length(c.value), static_cast<int32_t>(s.length)) << c.text;
    }
    EXPECT_EQ(float_to_text(1.5).capacity, 64u);
}

TEST(TextToNumber, StandardConversionRules) {
    const struct {
        const char* text;
        double as_float;
        int32_t as_int;
    } cases[] = {
        {"", 0, 0},
        {"   -12abc", -12, -12},
        {"3.9", 3.9, 3},
        {"-3.9", -3.9, -3},
        {"+42", 42, 42},
        {"\t\n\v\f\r 8", 8, 8},
        {"abc", 0, 0},
        {"-", 0, 0},
        {".", 0, 0},
        {".5", 0.5, 0},
        {"5.", 5, 5},
        {"1e3", 1000, 1},
        {"1E+2x", 100, 1},
        {"2.5e-1", 0.25, 2},
        {"1e", 1, 1},       // an exponent needs digits
        {"1e+", 1, 1},
        {"0x1A", 0, 0},     // no hexadecimal prefix
        {"0x1p3", 0, 0},
        {"inf", 0, 0},      // no named values
        {"nan", 0, 0},
        {"- 5", 0, 0},      // no space after the sign
        {"1 000", 1, 1},
        {"007", 7, 7},
        {"1e400", HUGE_VAL, 1},
        {"-1e400", -HUGE_VAL, -1},
        {"1e-400", 0, 1},
        {"1000e306", HUGE_VAL, 1000},  // out of range judged by the whole magnitude
        {"0.0001e-321", 0, 0},
        {"2147483647", 2147483647.0, 2147483647},
        {"2147483648", 2147483648.0, 2147483647},    // integers saturate
        {"-2147483648", -2147483648.0, INT32_MIN},
        {"-99999999999999999999", -1e20, INT32_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text_to_float(c.text), c.as_float) << '"' << c.text << '"';
        EXPECT_EQ(text_to_int(c.text), c.as_int) << '"' << c.text << '"';
        EXPECT_EQ(text_to_float(RtString(c.text)), c.as_float) << '"' << c.text << '"';
        EXPECT_EQ(text_to_int(RtString(c.text)), c.as_int) << '"' << c.text << '"';
    }
    EXPECT_EQ(text_to_float(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(text_to_int(static_cast<const char*>(nullptr)), 0);
}

TEST(TextToNumber, IgnoresTheProcessLocale) {
#ifdef _WIN32
    // Windows carries a locale whose decimal separator is a comma.
    const char* chosen = std::setlocale(LC_NUMERIC, "de-DE");
    if (!chosen) chosen = std::setlocale(LC_NUMERIC, "German_Germany");
    if (!chosen) GTEST_SKIP() << "this system has no German locale";
#else
    // A locale whose decimal separator is a comma, compiled for this test so that
    // it exists whatever locales the machine carries.
    testing_support::TempDir dir;
    dir.write("comma.src", "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\n"
                           "grouping 3;3\nEND LC_NUMERIC\n");
    const std::string build = "localedef -c -i '" + dir.file("comma.src") + "' -f UTF-8 '" +
                              dir.file("comma") + "' >/dev/null 2>&1";
    if (std::system(build.c_str()) == -1) GTEST_SKIP() << "cannot run localedef";
    ::setenv("LOCPATH", dir.path().c_str(), 1);
    const char* chosen = std::setlocale(LC_NUMERIC, "comma");
    if (!chosen) {
        ::unsetenv("LOCPATH");
        GTEST_SKIP() << "localedef could not build a comma locale";
    }
#endif
    ASSERT_EQ(std::atof("2,5"), 2.5);  // the library's own parser now takes the comma

    EXPECT_EQ(text_to_float("2.5"), 2.5);
    EXPECT_EQ(text_to_float("2,5"), 2.0);
    EXPECT_EQ(text_to_float("-1.25e2"), -125.0);
    EXPECT_STREQ(float_to_text(2.5).c_str(), "2.5");
    EXPECT_STREQ(float_to_text(0.025).c_str(), "2.5e-002");
    std::setlocale(LC_NUMERIC, "C");
#ifndef _WIN32
    ::unsetenv("LOCPATH");
#endif
}

TEST(FloatToInt, TruncatesTowardZeroAndSaturates) {
    const struct {
        double value;
        int32_t result;
    } cases[] = {
        {3.9, 3}, {-3.9, -3}, {0.0, 0}, {-0.5, 0},
        {2147483647.9, 2147483647}, {1e20, 2147483647},
        {-2147483648.9, INT32_MIN}, {-1e20, INT32_MIN},
        {std::numeric_limits<double>::infinity(), 2147483647},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(float_to_int(c.value), c.result) << c.value;
}

}  // namespace
}  // namespace tvk
