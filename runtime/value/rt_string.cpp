#include "runtime/value/rt_string.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace tvk {

namespace {
char g_empty_text[1] = {0};

char* allocate_block(uint64_t size) {
    if (size > UINT32_MAX) throw std::bad_alloc();
    auto* block = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
    if (!block) throw std::bad_alloc();
    return block;
}

void release_block(RtString& s) noexcept {
    if (s.capacity != 0) std::free(s.data);
    s.data = g_empty_text;
    s.capacity = 0;
    s.length = 0;
}

void copy_bytes(RtString& s, const char* bytes, uint32_t len) {
    if (len == 0) return;
    string_reserve(s, len, false);
    std::memcpy(s.data, bytes, len);
    s.data[len] = 0;
    s.length = len;
}

// True when p points into the block s owns, so that growing s would free it.
bool points_into(const RtString& s, const char* p) noexcept {
    if (s.capacity == 0 || p == nullptr) return false;
    const auto first = reinterpret_cast<uintptr_t>(s.data);
    const auto at = reinterpret_cast<uintptr_t>(p);
    return at >= first && at - first < s.capacity;
}

// Appends len bytes that may live inside s's own block (s + s, or a byte
// text taken from s): the source is found again after the block has moved.
void append_bytes(RtString& s, const char* bytes, uint32_t len) {
    if (len == 0) return;
    const uint32_t total = detail::checked_text_length(uint64_t{s.length} + len);
    if (points_into(s, bytes)) {
        const size_t offset = static_cast<size_t>(bytes - s.data);
        string_reserve(s, total, true);
        bytes = s.data + offset;
    } else {
        string_reserve(s, total, true);
    }
    std::memmove(s.data + s.length, bytes, len);
    s.length = total;
    s.data[total] = 0;
}
}  // namespace

char* detail::shared_empty_text() noexcept { return g_empty_text; }

uint32_t detail::checked_text_length(uint64_t n) {
    if (n >= UINT32_MAX) throw std::bad_alloc();
    return static_cast<uint32_t>(n);
}

RtString::RtString() noexcept : data(g_empty_text), capacity(0), length(0) {}

RtString::RtString(const char* text) : RtString() {
    if (text) copy_bytes(*this, text, detail::checked_text_length(std::strlen(text)));
}

RtString::RtString(const RtString& other) : RtString() {
    copy_bytes(*this, other.data, other.length);
}

RtString::RtString(RtString&& other) noexcept
    : data(other.data), capacity(other.capacity), length(other.length) {
    other.data = g_empty_text;
    other.capacity = 0;
    other.length = 0;
}

RtString& RtString::operator=(const RtString& other) {
    string_assign(*this, other);
    return *this;
}

RtString& RtString::operator=(RtString&& other) noexcept {
    if (this != &other) {
        std::swap(data, other.data);
        std::swap(capacity, other.capacity);
        std::swap(length, other.length);
        release_block(other);
    }
    return *this;
}

RtString::~RtString() { release_block(*this); }

void string_clear(RtString& s) noexcept { release_block(s); }

void string_reserve(RtString& s, uint32_t n, bool keep) {
    if (n == 0 || s.capacity >= uint64_t{n} + 1) return;
    // The smallest multiple of 16 greater than n + 1.
    const uint64_t size = ((uint64_t{n} + 1) & ~uint64_t{15}) + 16;
    char* block = allocate_block(size);
    if (keep && s.length != 0) {
        std::memcpy(block, s.data, s.length);
        block[s.length] = 0;
    } else {
        std::memset(block, 0, 4);
    }
    if (s.capacity != 0) std::free(s.data);
    s.data = block;
    s.capacity = static_cast<uint32_t>(size);
}

void string_assign(RtString& target, const RtString& source) {
    if (target.data == source.data) return;
    if (source.length == 0) {
        if (target.capacity != 0) target.data[0] = 0;
        target.length = 0;
        return;
    }
    string_reserve(target, source.length, false);
    std::memcpy(target.data, source.data, uint64_t{source.length} + 1);
    target.length = source.length;
}

void string_assign_text(RtString& target, const char* text) {
    const uint32_t len = text ? detail::checked_text_length(std::strlen(text)) : 0;
    if (len == 0) {
        release_block(target);
        return;
    }
    // The new block is filled before the old one is freed: the text may be
    // part of the target's own block.
    char* block = allocate_block(uint64_t{len} + 1);
    std::memcpy(block, text, len);
    block[len] = 0;
    release_block(target);
    target.data = block;
    target.capacity = len + 1;
    target.length = len;
}

void string_assign_swap(RtString& target, const char* text) {
    RtString fresh(text);
    std::swap(target.data, fresh.data);
    std::swap(target.capacity, fresh.capacity);
    std::swap(target.length, fresh.length);
}

char* string_buffer(RtString& s, uint32_t n) {
    string_reserve(s, n, true);
    // Even for n = 0 the caller may write a terminator; the shared empty
    // text must never be written, so hand out a block of our own.
    if (s.capacity == 0) string_reserve(s, 1, false);
    return s.data;
}

void string_sync_length(RtString& s) noexcept {
    if (s.capacity == 0) {
        s.length = 0;
        return;
    }
    const void* zero = std::memchr(s.data, 0, s.capacity);
    if (zero) {
        s.length = static_cast<uint32_t>(static_cast<const char*>(zero) - s.data);
    } else {
        s.data[s.capacity - 1] = 0;
        s.length = s.capacity - 1;
    }
}

void string_truncate(RtString& s, int32_t n) noexcept {
    if (n < 0 || static_cast<uint32_t>(n) >= s.length) return;
    s.data[n] = 0;
    s.length = static_cast<uint32_t>(n);
}

void string_append_char(RtString& s, char byte) {
    const uint32_t total = detail::checked_text_length(uint64_t{s.length} + 1);
    string_reserve(s, total, true);
    s.data[s.length] = byte;
    s.length = total;
    s.data[total] = 0;
}

RtString& string_append_bytes(RtString& s, const char* bytes, uint32_t count) {
    append_bytes(s, bytes, count);
    return s;
}

RtString& string_append(RtString& s, const RtString& operand) {
    append_bytes(s, operand.data, operand.length);
    return s;
}

RtString& string_append(RtString& s, const char* operand) {
    if (operand) append_bytes(s, operand, detail::checked_text_length(std::strlen(operand)));
    return s;
}

RtString detail::string_from_operand(const RtString& operand) { return operand; }

RtString detail::string_from_operand(const char* operand) { return RtString(operand); }

}  // namespace tvk
