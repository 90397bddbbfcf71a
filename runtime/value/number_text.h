#pragma once
// Numbers to text and back.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

RtString int_to_text(int32_t value);
// Ten significant digits, no trailing point, three-digit exponent where one is used.
RtString float_to_text(double value);
int32_t number_text_length(int32_t value);
int32_t number_text_length(double value);
double text_to_float(const char* text);
double text_to_float(const RtString& text);
int32_t text_to_int(const char* text);
int32_t text_to_int(const RtString& text);

}  // namespace tvk
