#pragma once
// The program's numbered-line store: one cached text file of at most 256 lines,
// read through the media lookup and written back when another file is selected
// or at exit.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

inline constexpr int32_t kLineStoreLines = 256;

// The line's text without trailing control bytes; "NO_DATA" (error code 7) for an
// index outside 0-255, "NO_FILE" (error code 3) when the file cannot be read.
RtString line_store_read(const RtString& file, int32_t index);
double line_store_read_float(const RtString& file, int32_t index);
int32_t line_store_read_int(const RtString& file, int32_t index);

// Stores the text in the line; 7 (and error code 7) for an index outside 0-255, else 0.
int32_t line_store_write(const RtString& file, int32_t index, const RtString& text);
int32_t line_store_write(const RtString& file, int32_t index, double value);

}  // namespace tvk
