#pragma once
// Test helper: the bytes of a string value (all length bytes, embedded zeros included).
#include <string>

#include "runtime/value/rt_string.h"

namespace tvk {

inline std::string bytes_of(const RtString& s) { return std::string(s.data, s.length); }

// A string value holding exactly these bytes, zero bytes included.
inline RtString make_bytes(const std::string& bytes) {
    RtString s;
    string_append_bytes(s, bytes.data(), static_cast<uint32_t>(bytes.size()));
    return s;
}

}  // namespace tvk
