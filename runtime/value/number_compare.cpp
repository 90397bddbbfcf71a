#include "runtime/value/number_compare.h"

#include "runtime/value/number_text.h"

namespace tvk {

int32_t compare_text_number(const RtString& text, double number) {
    const double value = text_to_float(text);
    if (value < number) return -1;
    if (value > number) return 1;
    return 0;
}

int32_t compare_text_number(const RtString& text, int32_t number) {
    const int32_t value = text_to_int(text);
    if (value < number) return -1;
    if (value > number) return 1;
    return 0;
}

bool operator==(const RtString& text, double number) { return text_to_float(text) == number; }

bool operator==(const RtString& text, int32_t number) { return text_to_int(text) == number; }

std::partial_ordering operator<=>(const RtString& text, double number) {
    return text_to_float(text) <=> number;
}

std::strong_ordering operator<=>(const RtString& text, int32_t number) {
    return text_to_int(text) <=> number;
}

}  // namespace tvk
