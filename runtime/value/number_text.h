#pragma once
// Numbers to text and back.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Decimal, with a leading minus for negative values, no padding.
RtString int_to_text(int32_t value);
// Ten significant digits, no trailing point, three-digit exponent where one is used.
RtString float_to_text(double value);
int32_t number_text_length(int32_t value);
int32_t number_text_length(double value);
// Leading white space, an optional sign, digits, an optional fraction and exponent;
// conversion stops at the first byte that does not fit and no digits give 0.
// Independent of the process locale; no hexadecimal, "inf" or "nan" forms.
double text_to_float(const char* text);
double text_to_float(const RtString& text);
// Leading white space, an optional sign and digits; values beyond the 32-bit
// range saturate at its ends.
int32_t text_to_int(const char* text);
int32_t text_to_int(const RtString& text);
// Truncation toward zero; values beyond the 32-bit range saturate, NaN gives 0.
int32_t float_to_int(double value);

}  // namespace tvk
