#include "runtime/value/format_number.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/value/number_text.h"

namespace tvk {

RtString format_number(double width, double decimals, double value) {
    const int columns = std::clamp(float_to_int(width), -kFormatNumberLimit, kFormatNumberLimit);
    const int places = std::clamp(float_to_int(decimals), 0, kFormatNumberLimit);

    // The largest double has 309 whole digits; add sign, point and the places.
    std::vector<char> digits(320 + static_cast<size_t>(places));
    // Locale-independent and exactly rounded, like the C library's %f in the "C" locale.
    const auto res = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                   std::chars_format::fixed, places);
    const size_t len = res.ec == std::errc() ? static_cast<size_t>(res.ptr - digits.data()) : 0;
    const size_t field = static_cast<size_t>(std::abs(columns));
    const size_t pad = field > len ? field - len : 0;

    RtString text;
    if (len + pad == 0) return text;
    string_reserve(text, static_cast<uint32_t>(len + pad), false);
    char* out = text.data;
    if (columns >= 0) {
        std::memset(out, ' ', pad);
        std::memcpy(out + pad, digits.data(), len);
    } else {
        std::memcpy(out, digits.data(), len);
        std::memset(out + len, ' ', pad);
    }
    out[len + pad] = 0;
    text.length = static_cast<uint32_t>(len + pad);
    return text;
}

}  // namespace tvk
