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
}  // namespace

char* shared_empty_text() noexcept { return g_empty_text; }

RtString::RtString() noexcept : data(g_empty_text), capacity(0), length(0) {}

RtString::RtString(const char* text) : RtString() {
    if (text) copy_bytes(*this, text, static_cast<uint32_t>(std::strlen(text)));
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
    if (this == &other || data == other.data) return *this;
    if (other.length == 0) {
        if (capacity != 0) data[0] = 0;
        length = 0;
        return *this;
    }
    string_reserve(*this, other.length, false);
    std::memcpy(data, other.data, other.length + 1);
    length = other.length;
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

}  // namespace tvk
