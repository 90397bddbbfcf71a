#pragma once
// Byte codings of strings: hexadecimal, URL (percent) coding, and folding
// UTF-8 text into the runtime's single-byte (Latin-1) text.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Two hex digits per byte, high nibble first; upper or lower case digits.
RtString string_hex_encode(const void* bytes, uint32_t count, bool upper);
// first * 16 + second, each digit 0-9, a-f or A-F taken at its value and any
// other character at its own code (the result keeps the low 8 bits).
uint8_t hex_pair_value(char first, char second) noexcept;

// Letters and digits stay; other bytes below 0x80 become %xx (lower-case hex);
// bytes from 0x80 are Latin-1 code points written as two percent-coded UTF-8 bytes.
RtString string_url_encode(const RtString& s);
// %xx becomes its byte, + a space; a % without two hex digits after it is
// dropped together with the one character that follows. The bytes are then
// folded from UTF-8 to Latin-1.
RtString string_url_decode(const RtString& s);
// In place: two- and three-byte UTF-8 sequences become their code point when
// it is below 256 and a space otherwise; stray bytes from 0x80 are dropped.
void string_utf8_to_latin1(RtString& s);

}  // namespace tvk
