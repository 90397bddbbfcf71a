// Numbers as operands of appending and concatenation: the number becomes its
// text first. Kept apart from the string core so that programs using only
// strings do not pull in the number formatting.
#include "runtime/value/number_text.h"
#include "runtime/value/rt_string.h"

namespace tvk {

RtString& string_append(RtString& s, int32_t value) {
    return string_append(s, int_to_text(value));
}

RtString& string_append(RtString& s, float value) {
    return string_append(s, float_to_text(static_cast<double>(value)));
}

RtString& string_append(RtString& s, double value) {
    return string_append(s, float_to_text(value));
}

RtString detail::string_from_operand(int32_t value) { return int_to_text(value); }

RtString detail::string_from_operand(float value) { return float_to_text(static_cast<double>(value)); }

RtString detail::string_from_operand(double value) { return float_to_text(value); }

}  // namespace tvk
