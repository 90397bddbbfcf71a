#pragma once
// Comparisons of a string with a number. The string is read as a number
// (text_to_float against floats, text_to_int against integers) and the two are
// compared as numbers, never as text. With C++20's rewritten comparisons every
// operator works with the string on either side: 9 < text, text >= 2.5, ...
#include <compare>
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// -1, 0 or 1 for text value < number, equal, greater. A NaN on either side
// compares neither less nor greater and gives 0.
int32_t compare_text_number(const RtString& text, double number);
int32_t compare_text_number(const RtString& text, int32_t number);

// Single floats are widened to double (a promotion, so they pick the double form).
bool operator==(const RtString& text, double number);
bool operator==(const RtString& text, int32_t number);
std::partial_ordering operator<=>(const RtString& text, double number);
std::strong_ordering operator<=>(const RtString& text, int32_t number);

}  // namespace tvk
