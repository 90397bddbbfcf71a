#pragma once
// The string library: substrings, comparison, case, trimming, search and
// replace. Positions are 0-based byte offsets; positions and counts out of
// range give empty results or -1, never errors. Every operation returns a new
// string unless it says it works in place.
#include <compare>
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// count bytes from start. A negative count means "to the end"; a count past
// the end is cut there; a negative start or one at or past the end gives empty.
RtString string_mid(const RtString& s, int32_t start, int32_t count);
// A one-byte string holding the code's low 8 bits (code 0 gives one zero byte).
RtString char_to_string(int32_t code);
// The byte at the position as 0..255; 0 outside the text.
int32_t string_byte_at(const RtString& s, int32_t position);

// Equal lengths and equal bytes, embedded zero bytes included.
bool string_equal(const RtString& a, const RtString& b) noexcept;
// strcmp ordering of the zero-terminated texts (unsigned bytes): negative,
// 0 or positive. Bytes after an embedded zero are not looked at.
int string_compare(const char* a, const char* b) noexcept;
int string_compare(const RtString& a, const RtString& b) noexcept;
int string_compare(const RtString& a, const char* b) noexcept;
int string_compare(const char* a, const RtString& b) noexcept;

// The program's comparison operators, built on string_compare (so "a" equals
// "a\0more" here while string_equal tells them apart).
bool operator==(const RtString& a, const RtString& b) noexcept;
bool operator==(const RtString& a, const char* b) noexcept;
std::strong_ordering operator<=>(const RtString& a, const RtString& b) noexcept;
std::strong_ordering operator<=>(const RtString& a, const char* b) noexcept;

// Only A-Z and a-z change, whatever the process locale.
RtString string_upper(const RtString& s);
RtString string_lower(const RtString& s);
void string_upper_in_place(RtString& s) noexcept;
void string_lower_in_place(RtString& s) noexcept;

// Drop trailing / leading bytes that occur in set.
RtString string_trim_right(const RtString& s, const RtString& set);
RtString string_trim_left(const RtString& s, const RtString& set);
// In place: removes trailing bytes 0..31 (line ends and other control bytes).
void string_strip_control_tail(RtString& s) noexcept;

// First byte of the text that is / is not in set; nullptr when the text ends first.
const char* span_in_set(const char* text, const char* set) noexcept;
const char* span_not_in_set(const char* text, const char* set) noexcept;

// Horspool search: offset of the first occurrence of the pattern in the text,
// or -1 (also for an empty pattern, a missing text or pattern, or a text
// shorter than the pattern).
int64_t text_search(const char* text, uint32_t text_length, const char* pattern,
                    uint32_t pattern_length) noexcept;
// First occurrence of needle at or after start; -1 when there is none, when
// start is outside the haystack (negative included) or the needle is empty.
int32_t string_find(const RtString& haystack, const RtString& needle, int32_t start) noexcept;
// Last occurrence that begins at or before start; a negative start means
// haystack length - needle length. -1 when there is none.
int32_t string_find_last(const RtString& haystack, const RtString& needle,
                         int32_t start) noexcept;
// Every occurrence of find, left to right, replaced; text produced by a
// replacement is never searched again. An empty find changes nothing.
RtString string_replace(const RtString& s, const RtString& find, const RtString& replacement);

}  // namespace tvk
