#include "runtime/value/string_codings.h"

#include <cstring>

namespace tvk {

namespace {
constexpr char kUpperDigits[] = "0123456789ABCDEF";
constexpr char kLowerDigits[] = "0123456789abcdef";

// -1 for a character that is not a hex digit.
int hex_digit(unsigned char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool is_alnum_ascii(unsigned char c) noexcept {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void put_percent(char*& out, unsigned char byte) noexcept {
    *out++ = '%';
    *out++ = kLowerDigits[byte >> 4];
    *out++ = kLowerDigits[byte & 0x0F];
}

// Writes the bytes produced so far as the string's whole text.
void finish(RtString& s, uint32_t length) noexcept {
    if (s.capacity == 0) return;
    s.data[length] = 0;
    s.length = length;
}
}  // namespace

RtString string_hex_encode(const void* bytes, uint32_t count, bool upper) {
    RtString result;
    if (count == 0 || bytes == nullptr) return result;
    const uint32_t length = detail::checked_text_length(uint64_t{count} * 2);
    string_reserve(result, length, false);
    const char* digits = upper ? kUpperDigits : kLowerDigits;
    const auto* in = static_cast<const unsigned char*>(bytes);
    char* out = result.data;
    for (uint32_t i = 0; i < count; ++i) {
        *out++ = digits[in[i] >> 4];
        *out++ = digits[in[i] & 0x0F];
    }
    finish(result, length);
    return result;
}

uint8_t hex_pair_value(char first, char second) noexcept {
    auto value = [](char c) {
        const int digit = hex_digit(static_cast<unsigned char>(c));
        return digit >= 0 ? digit : static_cast<unsigned char>(c);
    };
    return static_cast<uint8_t>(value(first) * 16 + value(second));
}

RtString string_url_encode(const RtString& s) {
    uint64_t length = 0;
    for (uint32_t i = 0; i < s.length; ++i) {
        const auto c = static_cast<unsigned char>(s.data[i]);
        length += is_alnum_ascii(c) ? 1 : c < 0x80 ? 3 : 6;
    }
    RtString result;
    if (length == 0) return result;
    string_reserve(result, detail::checked_text_length(length), false);
    char* out = result.data;
    for (uint32_t i = 0; i < s.length; ++i) {
        const auto c = static_cast<unsigned char>(s.data[i]);
        if (is_alnum_ascii(c)) {
            *out++ = static_cast<char>(c);
        } else if (c < 0x80) {
            put_percent(out, c);
        } else {
            put_percent(out, c < 0xC0 ? 0xC2 : 0xC3);
            put_percent(out, static_cast<unsigned char>((c & 0x3F) | 0x80));
        }
    }
    finish(result, static_cast<uint32_t>(length));
    return result;
}

RtString string_url_decode(const RtString& s) {
    RtString result;
    if (s.length == 0) return result;
    // Decoding never makes the text longer.
    string_reserve(result, s.length, false);
    char* out = result.data;
    const auto* in = reinterpret_cast<const unsigned char*>(s.data);
    uint32_t i = 0;
    while (i < s.length) {
        const unsigned char c = in[i];
        if (c == '%') {
            const int high = i + 1 < s.length ? hex_digit(in[i + 1]) : -1;
            const int low = i + 2 < s.length ? hex_digit(in[i + 2]) : -1;
            if (high >= 0 && low >= 0) {
                *out++ = static_cast<char>(high * 16 + low);
                i += 3;
            } else {
                i += 2;
            }
        } else {
            *out++ = c == '+' ? ' ' : static_cast<char>(c);
            ++i;
        }
    }
    finish(result, static_cast<uint32_t>(out - result.data));
    string_utf8_to_latin1(result);
    return result;
}

void string_utf8_to_latin1(RtString& s) {
    // The folded text is never longer than the source, so it is written over
    // the source in place: the write position never passes the read position.
    if (s.capacity == 0) return;
    auto* bytes = reinterpret_cast<unsigned char*>(s.data);
    const uint32_t n = s.length;
    uint32_t read = 0;
    uint32_t write = 0;
    auto fold = [](uint32_t code) { return static_cast<unsigned char>(code < 256 ? code : ' '); };
    while (read < n) {
        const unsigned char lead = bytes[read];
        if (lead < 0x80) {
            bytes[write++] = lead;
            read += 1;
        } else if ((lead & 0xE0) == 0xC0 && n - read >= 2) {
            bytes[write++] = fold(((lead & 0x1Fu) << 6) | (bytes[read + 1] & 0x3Fu));
            read += 2;
        } else if ((lead & 0xF0) == 0xE0 && n - read >= 3) {
            bytes[write++] = fold(((lead & 0x0Fu) << 12) | ((bytes[read + 1] & 0x3Fu) << 6) |
                                  (bytes[read + 2] & 0x3Fu));
            read += 3;
        } else {
            read += 1;
        }
    }
    finish(s, write);
}

}  // namespace tvk
