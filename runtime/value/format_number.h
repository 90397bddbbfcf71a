#pragma once
// Fixed-point number text for formatted output.
#include "runtime/value/rt_string.h"

namespace tvk {

// The value with `decimals` places, right-aligned in `width` columns and padded
// with spaces (a negative width aligns it to the left instead). Both counts are
// truncated toward zero; NaN counts as 0, negative decimals as 0, and both are
// limited to kFormatNumberLimit, so no width or count can overrun memory.
constexpr int kFormatNumberLimit = 1024;
RtString format_number(double width, double decimals, double value);

}  // namespace tvk
