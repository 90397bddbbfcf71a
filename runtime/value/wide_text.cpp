#include "runtime/value/wide_text.h"

#include <cwchar>
#include <vector>

namespace tvk {

namespace {
// The runtime's text is Latin-1, whose bytes are exactly the first 256 code
// points. The conversion is done here rather than with mbstowcs/wcstombs,
// which follow the process locale and fail on bytes from 0x80 in the "C"
// locale. Characters outside Latin-1 become '?'.
constexpr wchar_t kUnmappable = L'?';

std::vector<wchar_t>& shared_wide_buffer() {
    static std::vector<wchar_t> buffer;
    return buffer;
}
}  // namespace

const wchar_t* string_to_wide(const RtString& s) {
    std::vector<wchar_t>& buffer = shared_wide_buffer();
    const auto* bytes = reinterpret_cast<const unsigned char*>(s.data);
    buffer.clear();
    buffer.reserve(uint64_t{s.length} + 1);
    for (uint32_t i = 0; i < s.length && bytes[i] != 0; ++i) buffer.push_back(bytes[i]);
    buffer.push_back(0);
    return buffer.data();
}

RtString string_from_wide(const wchar_t* text) {
    RtString result;
    if (!text) return result;
    const uint32_t length = detail::checked_text_length(std::wcslen(text));
    if (length == 0) return result;
    char* out = string_buffer(result, length);
    for (uint32_t i = 0; i < length; ++i) {
        const auto code = static_cast<uint32_t>(text[i]);
        out[i] = static_cast<char>(code < 256 ? code : static_cast<uint32_t>(kUnmappable));
    }
    out[length] = 0;
    result.length = length;
    return result;
}

}  // namespace tvk
