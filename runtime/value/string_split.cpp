#include <cstring>

#include "runtime/value/rt_array.h"

namespace tvk {

namespace {

void append_part(StringArray& parts, const char* bytes, uint32_t length) {
    array_push(parts, RtString());
    if (parts.dim1 == 0 || length == 0) return;
    // The element may keep a block from earlier contents; it is reused when large enough.
    RtString& part = parts.elements[parts.dim1 - 1];
    string_reserve(part, length, false);
    std::memcpy(part.data, bytes, length);
    part.data[length] = 0;
    part.length = length;
}

}  // namespace

int32_t string_split(const RtString& text, StringArray& parts, const RtString& delimiters,
                     int32_t drop_empty) {
    // The text or the delimiters may be elements of parts, which the pushes overwrite.
    const RtString work(text);
    const RtString delimiter_set(delimiters);
    parts.step2 = parts.step3 = parts.step4 = 0;
    parts.dim1 = parts.dim2 = parts.dim3 = parts.dim4 = 0;
    parts.count = 0;
    parts.rank = 0;

    const char* bytes = work.data;
    const uint32_t length = work.length;
    auto is_delimiter = [&](char c) {
        return delimiter_set.length != 0 &&
               std::memchr(delimiter_set.data, c, delimiter_set.length) != nullptr;
    };
    uint32_t pos = 0;
    while (pos < length) {
        if (drop_empty) {
            while (pos < length && is_delimiter(bytes[pos])) ++pos;
            if (pos == length) break;
        }
        uint32_t end = pos;
        while (end < length && !is_delimiter(bytes[end])) ++end;
        if (end == length) {
            append_part(parts, bytes + pos, end - pos);
            break;
        }
        if (end > pos || !drop_empty) append_part(parts, bytes + pos, end - pos);
        pos = end + 1;
    }
    return parts.dim1;
}

}  // namespace tvk
