#pragma once
// The string value of programs and of the runtime: an owning handle to a
// zero-terminated single-byte text. Copies always duplicate the bytes.
#include <concepts>
#include <cstdint>
#include <type_traits>

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

namespace detail {

// The one process-wide zero byte that every empty value points at.
char* shared_empty_text() noexcept;

// A text length computed in 64 bits, narrowed to the 32 bits a value can
// hold; anything larger is treated as running out of memory (std::bad_alloc).
uint32_t checked_text_length(uint64_t n);

}  // namespace detail

// Sizes the block for n text bytes. Nothing happens when n is 0 or the block
// already holds n + 1 bytes; otherwise the new block is the smallest multiple
// of 16 above n + 1. With keep, the old text is carried over; without it the
// new block reads as empty and the caller sets the length.
void string_reserve(RtString& s, uint32_t n, bool keep);
void string_clear(RtString& s) noexcept;

// Copies the source's bytes into the target, reusing the target's block when
// it is large enough. An empty source empties the target but keeps its block.
void string_assign(RtString& target, const RtString& source);
// Replaces the target with an exact-size copy of a byte text (capacity is
// length + 1), or the shared empty text when the text is empty.
void string_assign_text(RtString& target, const char* text);
// Builds the new value first and then exchanges it with the target.
void string_assign_swap(RtString& target, const char* text);

// Room for n bytes plus a terminator, keeping the text; the caller writes
// into it and then calls string_sync_length.
char* string_buffer(RtString& s, uint32_t n);
// Sets the length from the first zero byte inside the block; a block without
// one gets its last byte overwritten with the terminator.
void string_sync_length(RtString& s) noexcept;
// Shortens to n bytes when 0 <= n < length; the block stays allocated.
void string_truncate(RtString& s, int32_t n) noexcept;

void string_append_char(RtString& s, char byte);
// Appends count bytes (zero bytes included); the bytes may be part of s itself.
RtString& string_append_bytes(RtString& s, const char* bytes, uint32_t count);
// Appending in place; returns the target. Numbers are appended as their text.
RtString& string_append(RtString& s, const RtString& operand);
RtString& string_append(RtString& s, const char* operand);
RtString& string_append(RtString& s, int32_t value);
RtString& string_append(RtString& s, float value);
RtString& string_append(RtString& s, double value);
// A single byte is appended with string_append_char; without these a char
// would be promoted and appended as the text of its code.
RtString& string_append(RtString& s, char byte) = delete;
RtString& string_append(RtString& s, bool flag) = delete;

// The operand types that concatenation accepts on either side.
template <class T>
concept StringOperand = std::same_as<T, RtString> || std::same_as<T, const char*> ||
                        std::same_as<T, char*> || std::same_as<T, int32_t> ||
                        std::same_as<T, float> || std::same_as<T, double>;

namespace detail {

// A new string holding the operand's text (a number is converted).
RtString string_from_operand(const RtString& operand);
RtString string_from_operand(const char* operand);
RtString string_from_operand(int32_t value);
RtString string_from_operand(float value);
RtString string_from_operand(double value);

}  // namespace detail

// left followed by right, as a new string; every pairing of operand types.
template <class L, class R>
    requires StringOperand<std::decay_t<L>> && StringOperand<std::decay_t<R>>
RtString string_concat(const L& left, const R& right) {
    RtString result = detail::string_from_operand(left);
    string_append(result, right);
    return result;
}

}  // namespace tvk
