#include "runtime/value/string_library.h"

#include <array>
#include <cstring>

namespace tvk {

namespace {
// Membership table of a set of bytes, so that trimming and spans cost one
// look-up per byte.
using ByteSet = std::array<bool, 256>;

ByteSet make_byte_set(const char* set, size_t count) noexcept {
    ByteSet members{};
    for (size_t i = 0; i < count; ++i) members[static_cast<unsigned char>(set[i])] = true;
    return members;
}

bool in_set(const ByteSet& members, char byte) noexcept {
    return members[static_cast<unsigned char>(byte)];
}

RtString bytes_to_string(const char* bytes, uint32_t count) {
    RtString result;
    if (count == 0) return result;
    string_reserve(result, count, false);
    std::memcpy(result.data, bytes, count);
    result.data[count] = 0;
    result.length = count;
    return result;
}

std::strong_ordering ordering_of(int compared) noexcept {
    if (compared < 0) return std::strong_ordering::less;
    if (compared > 0) return std::strong_ordering::greater;
    return std::strong_ordering::equal;
}
}  // namespace

RtString string_mid(const RtString& s, int32_t start, int32_t count) {
    const int64_t length = s.length;
    int64_t n = count < 0 ? length : count;
    if (int64_t{start} + n > length) n = length - start;
    if (n <= 0 || start < 0 || start >= length) return RtString();
    return bytes_to_string(s.data + start, static_cast<uint32_t>(n));
}

RtString char_to_string(int32_t code) {
    RtString result;
    string_reserve(result, 1, false);
    result.data[0] = static_cast<char>(code & 0xFF);
    result.data[1] = 0;
    result.length = 1;
    return result;
}

int32_t string_byte_at(const RtString& s, int32_t position) {
    if (position < 0 || static_cast<uint32_t>(position) >= s.length) return 0;
    return static_cast<unsigned char>(s.data[position]);
}

bool string_equal(const RtString& a, const RtString& b) noexcept {
    return a.length == b.length && std::memcmp(a.data, b.data, a.length) == 0;
}

int string_compare(const char* a, const char* b) noexcept {
    return std::strcmp(a ? a : "", b ? b : "");
}

int string_compare(const RtString& a, const RtString& b) noexcept {
    return string_compare(a.data, b.data);
}

int string_compare(const RtString& a, const char* b) noexcept { return string_compare(a.data, b); }

int string_compare(const char* a, const RtString& b) noexcept { return string_compare(a, b.data); }

bool operator==(const RtString& a, const RtString& b) noexcept { return string_compare(a, b) == 0; }

bool operator==(const RtString& a, const char* b) noexcept { return string_compare(a, b) == 0; }

std::strong_ordering operator<=>(const RtString& a, const RtString& b) noexcept {
    return ordering_of(string_compare(a, b));
}

std::strong_ordering operator<=>(const RtString& a, const char* b) noexcept {
    return ordering_of(string_compare(a, b));
}

void string_upper_in_place(RtString& s) noexcept {
    for (uint32_t i = 0; i < s.length; ++i) {
        if (s.data[i] >= 'a' && s.data[i] <= 'z') s.data[i] = static_cast<char>(s.data[i] - 32);
    }
}

void string_lower_in_place(RtString& s) noexcept {
    for (uint32_t i = 0; i < s.length; ++i) {
        if (s.data[i] >= 'A' && s.data[i] <= 'Z') s.data[i] = static_cast<char>(s.data[i] + 32);
    }
}

RtString string_upper(const RtString& s) {
    RtString result(s);
    string_upper_in_place(result);
    return result;
}

RtString string_lower(const RtString& s) {
    RtString result(s);
    string_lower_in_place(result);
    return result;
}

RtString string_trim_right(const RtString& s, const RtString& set) {
    const ByteSet members = make_byte_set(set.data, set.length);
    uint32_t end = s.length;
    while (end > 0 && in_set(members, s.data[end - 1])) --end;
    return bytes_to_string(s.data, end);
}

RtString string_trim_left(const RtString& s, const RtString& set) {
    const ByteSet members = make_byte_set(set.data, set.length);
    uint32_t begin = 0;
    while (begin < s.length && in_set(members, s.data[begin])) ++begin;
    return bytes_to_string(s.data + begin, s.length - begin);
}

void string_strip_control_tail(RtString& s) noexcept {
    while (s.length > 0 && static_cast<unsigned char>(s.data[s.length - 1]) < 32) {
        s.data[--s.length] = 0;
    }
}

const char* span_in_set(const char* text, const char* set) noexcept {
    if (!text) return nullptr;
    const ByteSet members = make_byte_set(set ? set : "", set ? std::strlen(set) : 0);
    for (; *text; ++text) {
        if (in_set(members, *text)) return text;
    }
    return nullptr;
}

const char* span_not_in_set(const char* text, const char* set) noexcept {
    if (!text) return nullptr;
    const ByteSet members = make_byte_set(set ? set : "", set ? std::strlen(set) : 0);
    for (; *text; ++text) {
        if (!in_set(members, *text)) return text;
    }
    return nullptr;
}

}  // namespace tvk
