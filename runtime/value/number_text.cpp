#include "runtime/value/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace tvk {

namespace {

// Room for the longest text either form can produce: sign, ten digits, point,
// the letter e, exponent sign and three exponent digits.
constexpr size_t kFloatTextMax = 24;

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

RtString text_with_reserve(const char* text, size_t len, uint32_t reserve) {
    RtString s;
    string_reserve(s, reserve, false);
    std::memcpy(s.data, text, len);
    s.data[len] = 0;
    s.length = static_cast<uint32_t>(len);
    return s;
}

size_t write_int(int32_t value, char* out) {
    char digits[12];
    size_t n = 0;
    // Work in 64 bits so that the most negative value has a magnitude.
    int64_t v = value;
    const bool negative = v < 0;
    if (negative) v = -v;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    size_t len = 0;
    if (negative) out[len++] = '-';
    while (n > 0) out[len++] = digits[--n];
    out[len] = 0;
    return len;
}

// Ten significant digits of |value| with e the decimal exponent of the first.
// The digits are first taken to 17 significant places and then rounded half
// away from zero to ten, so an exact tie such as 1234567890.5 rounds up.
void ten_digits(double magnitude, char digits[10], int& exponent) {
    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 16);
    // buf holds d.dddddddddddddddde±XX
    char all[17];
    all[0] = buf[0];
    std::memcpy(all + 1, buf + 2, 16);
    const char* e = std::find(buf, res.ptr, 'e');
    exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, exponent);
    std::memcpy(digits, all, 10);
    if (all[10] >= '5') {
        int i = 9;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            ++exponent;
        }
    }
}

size_t write_float(double value, char* out) {
    if (std::isnan(value)) {
        std::memcpy(out, "nan", 4);
        return 3;
    }
    if (std::isinf(value)) {
        const char* t = value < 0 ? "-inf" : "inf";
        std::strcpy(out, t);
        return std::strlen(t);
    }
    // Both zeros print as the single digit.
    if (value == 0) {
        std::memcpy(out, "0", 2);
        return 1;
    }
    char digits[10];
    int exponent = 0;
    ten_digits(std::fabs(value), digits, exponent);
    int count = 10;
    while (count > 1 && digits[count - 1] == '0') --count;

    size_t len = 0;
    if (value < 0) out[len++] = '-';
    if (exponent < -1 || exponent > 9) {
        out[len++] = digits[0];
        out[len++] = '.';
        for (int i = 1; i < count; ++i) out[len++] = digits[i];
        out[len++] = 'e';
        out[len++] = exponent < 0 ? '-' : '+';
        const int mag = exponent < 0 ? -exponent : exponent;
        out[len++] = static_cast<char>('0' + mag / 100);
        out[len++] = static_cast<char>('0' + mag / 10 % 10);
        out[len++] = static_cast<char>('0' + mag % 10);
    } else if (exponent == -1) {
        out[len++] = '0';
        out[len++] = '.';
        for (int i = 0; i < count; ++i) out[len++] = digits[i];
    } else {
        const int whole = exponent + 1;
        for (int i = 0; i < whole; ++i) out[len++] = i < count ? digits[i] : '0';
        // Whole numbers print without a point.
        if (count > whole) {
            out[len++] = '.';
            for (int i = whole; i < count; ++i) out[len++] = digits[i];
        }
    }
    out[len] = 0;
    return len;
}

// A scanned decimal span (sign, digits with one point, optional exponent) that
// from_chars found out of range: too large gives infinity, too small zero, as a C
// parser gives them. The magnitude's power of ten decides which.
double out_of_range_value(const char* first, const char* last) {
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-') ++first;
    int64_t lead_power = 0;  // the power of ten of the first non-zero digit, before the exponent
    int64_t integer_digits = 0;
    bool found = false;
    int64_t fraction_index = 0;
    const char* p = first;
    for (; p < last && *p >= '0' && *p <= '9'; ++p, ++integer_digits) {
        if (!found && *p != '0') {
            found = true;
            lead_power = -integer_digits;  // fixed up below once the count is known
        }
    }
    if (found) lead_power += integer_digits - 1;
    if (p < last && *p == '.') {
        for (++p; p < last && *p >= '0' && *p <= '9'; ++p) {
            ++fraction_index;
            if (!found && *p != '0') {
                found = true;
                lead_power = -fraction_index;
            }
        }
    }
    int64_t exponent = 0;
    if (p < last && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool minus = p < last && *p == '-';
        if (p < last && (*p == '+' || *p == '-')) ++p;
        for (; p < last && *p >= '0' && *p <= '9'; ++p) {
            if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
        }
        if (minus) exponent = -exponent;
    }
    const double magnitude =
        found && lead_power + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

}  // namespace

RtString int_to_text(int32_t value) {
    char text[12];
    const size_t len = write_int(value, text);
    return text_with_reserve(text, len, 14);
}

RtString float_to_text(double value) {
    char text[kFloatTextMax];
    const size_t len = write_float(value, text);
    return text_with_reserve(text, len, 62);
}

int32_t number_text_length(int32_t value) {
    char text[12];
    return static_cast<int32_t>(write_int(value, text));
}

int32_t number_text_length(double value) {
    char text[kFloatTextMax];
    return static_cast<int32_t>(write_float(value, text));
}

double text_to_float(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (is_space(*p)) ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    int digits = 0;
    while (is_digit(*p)) ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (is_digit(*p)) ++p, ++digits;
    }
    if (digits == 0) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (is_digit(*q)) {
            p = q;
            while (is_digit(*p)) ++p;
        }
    }
    // Only the accepted span reaches the parser, so it cannot read a hexadecimal or
    // named form beyond what was scanned here; from_chars ignores the process locale.
    const char* first = *start == '+' ? start + 1 : start;
    double value = 0;
    const std::from_chars_result result = std::from_chars(first, p, value);
    if (result.ec == std::errc::result_out_of_range) return out_of_range_value(start, p);
    return value;
}

double text_to_float(const RtString& text) { return text_to_float(text.c_str()); }

int32_t text_to_int(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (is_space(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    while (is_digit(*p)) {
        magnitude = magnitude * 10 + (*p++ - '0');
        if (magnitude > limit) magnitude = limit;
    }
    if (negative) return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(magnitude == limit ? limit - 1 : magnitude);
}

int32_t text_to_int(const RtString& text) { return text_to_int(text.c_str()); }

int32_t float_to_int(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace tvk
