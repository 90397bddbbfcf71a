#pragma once
// The string value of programs and of the runtime: an owning handle to a
// zero-terminated single-byte text. Copies always duplicate the bytes.
#include <cstdint>

namespace tvk {

struct RtString {
    char* data;         // never null; the shared empty text when capacity == 0
    uint32_t capacity;  // bytes of the owned block, terminator included; 0 = owns nothing
    uint32_t length;    // text bytes; data[length] == 0

    RtString() noexcept;
    RtString(const char* text);  // NOLINT: byte texts convert implicitly, as literals do in programs
    RtString(const RtString& other);
    RtString(RtString&& other) noexcept;
    RtString& operator=(const RtString& other);
    RtString& operator=(RtString&& other) noexcept;
    ~RtString();

    const char* c_str() const noexcept { return data; }
    bool empty() const noexcept { return length == 0; }
};

// The one process-wide zero byte that every empty value points at.
char* shared_empty_text() noexcept;

// Sizes the block for n text bytes (see rt_string.cpp for the growth rule).
void string_reserve(RtString& s, uint32_t n, bool keep);
void string_clear(RtString& s) noexcept;

}  // namespace tvk
