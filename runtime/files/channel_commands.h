#pragma once
// The program's eight numbered file channels, and the size and copy of a file.
//
// Failures that a program can check (opening, file_size, copy_file) set the error
// code and return. Failures it cannot go on from (a channel number outside 0-7, a read
// on a closed channel, a short read, the end of the file in channel_read_line, a write
// without a disk file) set the error code and enter the error stop.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

inline constexpr int32_t kChannelCount = 8;

// The types channel_read_value and channel_write_value move, little-endian.
enum class ChannelValueType : int32_t {
    kSignedByte,
    kUnsignedByte,
    kSigned16,
    kUnsigned16,
    kSigned32,
    kUnsigned32,  // the same 32 bits as kSigned32
    kFloat32,     // widened to double when read, narrowed when written
    kFloat64,
};

// mode >= 1 reads (through resolve_media_path), 0 writes a new file, < 0 appends.
int32_t channel_open(int32_t n, const RtString& name, int32_t mode);
void channel_close(int32_t n);
int32_t channel_position(int32_t n);
// 1 when the position is at or past the size; a number outside 0-7 answers 1
// with error code 7 and touches nothing.
int32_t channel_at_end(int32_t n);
void channel_seek(int32_t n, int32_t offset, int32_t origin);

double channel_read_value(int32_t n, ChannelValueType type);
RtString channel_read_bytes(int32_t n, int32_t count);
RtString channel_read_line(int32_t n);
double channel_read_line_float(int32_t n);
int32_t channel_read_line_int(int32_t n);

void channel_write_value(int32_t n, ChannelValueType type, double value);
void channel_write_bytes(int32_t n, const RtString& bytes);
void channel_write_line(int32_t n, const RtString& text);

// Size of a disk or memory file (no archive lookup); 0 and error code 3 when missing.
int32_t file_size(const RtString& name);
// Copies a disk or memory file to a new disk file; error code 3 on failure.
void copy_file(const RtString& source, const RtString& target);

}  // namespace tvk
