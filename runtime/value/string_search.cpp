// Search and replace over byte texts.
#include <array>
#include <cstring>

#include "runtime/value/string_library.h"

namespace tvk {

int64_t text_search(const char* text, uint32_t text_length, const char* pattern,
                    uint32_t pattern_length) noexcept {
    if (!text || !pattern || pattern_length == 0 || text_length < pattern_length) return -1;
    if (text_length == pattern_length) {
        return std::memcmp(text, pattern, pattern_length) == 0 ? 0 : -1;
    }
    // Horspool: after a mismatch the alignment moves by how far the text byte
    // under the pattern's last position is from that byte's last occurrence
    // in the pattern (the whole pattern length when it does not occur).
    std::array<uint32_t, 256> skip;
    skip.fill(pattern_length);
    const auto* p = reinterpret_cast<const unsigned char*>(pattern);
    const auto* t = reinterpret_cast<const unsigned char*>(text);
    const uint32_t last = pattern_length - 1;
    for (uint32_t i = 0; i < last; ++i) skip[p[i]] = last - i;

    uint64_t at = 0;
    while (text_length - at >= pattern_length) {
        const unsigned char under_last = t[at + last];
        if (under_last == p[last]) {
            uint32_t i = last;
            while (i > 0 && t[at + i - 1] == p[i - 1]) --i;
            if (i == 0) return static_cast<int64_t>(at);
        }
        at += skip[under_last];
    }
    return -1;
}

int32_t string_find(const RtString& haystack, const RtString& needle, int32_t start) noexcept {
    if (start < 0 || static_cast<uint32_t>(start) >= haystack.length) return -1;
    const int64_t found = text_search(haystack.data + start, haystack.length - start, needle.data,
                                      needle.length);
    return found < 0 ? -1 : static_cast<int32_t>(found + start);
}

int32_t string_find_last(const RtString& haystack, const RtString& needle,
                         int32_t start) noexcept {
    int64_t limit = start;
    if (limit < 0) limit = int64_t{haystack.length} - needle.length;
    if (limit < 0 || needle.length == 0) return -1;
    int64_t last_found = -1;
    uint64_t from = 0;
    while (from < haystack.length) {
        const int64_t found = text_search(haystack.data + from,
                                          static_cast<uint32_t>(haystack.length - from),
                                          needle.data, needle.length);
        if (found < 0) break;
        const int64_t position = static_cast<int64_t>(from) + found;
        if (position > limit) break;
        last_found = position;
        from = static_cast<uint64_t>(position) + 1;
    }
    return static_cast<int32_t>(last_found);
}

RtString string_replace(const RtString& s, const RtString& find, const RtString& replacement) {
    if (find.length == 0) return s;
    // Built in one pass: resuming the scan after each inserted replacement is
    // the same as resuming in the source right after the occurrence.
    // A first pass counts the occurrences so that the result is sized once.
    uint64_t occurrences = 0;
    for (uint32_t from = 0; from < s.length;) {
        const int64_t found = text_search(s.data + from, s.length - from, find.data, find.length);
        if (found < 0) break;
        ++occurrences;
        from = static_cast<uint32_t>(from + found) + find.length;
    }
    if (occurrences == 0) return s;
    const uint32_t total = detail::checked_text_length(uint64_t{s.length} - occurrences * find.length +
                                               occurrences * replacement.length);
    RtString result;
    string_reserve(result, total, false);
    uint32_t from = 0;
    while (from < s.length) {
        const int64_t found = text_search(s.data + from, s.length - from, find.data, find.length);
        if (found < 0) break;
        const auto at = static_cast<uint32_t>(from + found);
        string_append_bytes(result, s.data + from, at - from);
        string_append(result, replacement);
        from = at + find.length;
    }
    string_append_bytes(result, s.data + from, s.length - from);
    return result;
}

}  // namespace tvk
