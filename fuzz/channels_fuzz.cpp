// Reading a file through a channel: the input is a script of reads and seeks (its
// length in the first byte, two bytes per step), then the file, which is opened from
// memory or from a disk file in the private folder. Reads that would meet the end
// of the file are not issued: there the program's error stop would end the process.
// The script may seek anywhere from the start on, past the end included.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "runtime/files/channels.h"
#include "runtime/files/memory_files.h"
#include "runtime/value/error_state.h"

namespace {

constexpr int32_t kChannel = 3;

int value_bytes(tvk::ChannelValueType type) {
    switch (type) {
        case tvk::ChannelValueType::kSignedByte:
        case tvk::ChannelValueType::kUnsignedByte: return 1;
        case tvk::ChannelValueType::kSigned16:
        case tvk::ChannelValueType::kUnsigned16: return 2;
        case tvk::ChannelValueType::kFloat64: return 8;
        default: return 4;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tvk::fuzz::scratch_folder();
    tvk::fuzz::ByteReader in{data, size};
    const uint8_t head = in.byte();
    const std::vector<uint8_t> script = in.take(static_cast<size_t>(head & 0x3f) * 2);
    const std::vector<uint8_t> bytes = in.rest();
    const auto file_size = static_cast<int64_t>(bytes.size());

    tvk::MemoryBlockRef block;
    tvk::RtString name;
    if (head & 0x80) {
        name = tvk::RtString(tvk::fuzz::write_scratch_file("channel.dat", bytes.data(), bytes.size()).c_str());
    } else {
        block = tvk::make_memory_block(bytes);
        name = tvk::RtString(tvk::memory_file_name(block).c_str());
    }
    if (tvk::channel_open(kChannel, name, 1) == 0) std::abort();

    for (size_t i = 0; i + 1 < script.size(); i += 2) {
        const uint8_t op = script[i], arg = script[i + 1];
        const int64_t position = tvk::channel_position(kChannel);
        if (position < 0) std::abort();
        const bool at_end = tvk::channel_at_end(kChannel) != 0;
        switch (op % 5) {
            case 0:
                if (!at_end) {
                    const tvk::RtString line = tvk::channel_read_line(kChannel);
                    if (tvk::channel_position(kChannel) <= position) std::abort();
                }
                break;
            case 1:
                if (!at_end) (arg & 1) ? tvk::channel_read_line_int(kChannel) : tvk::channel_read_line_float(kChannel);
                break;
            case 2: {
                const auto type = static_cast<tvk::ChannelValueType>(arg % 8);
                if (position + value_bytes(type) <= file_size) tvk::channel_read_value(kChannel, type);
                break;
            }
            case 3: {
                // Seeks before the start are the program's own doing, not the file's:
                // they are left out.
                const int32_t offset = static_cast<int8_t>(arg) * 7, origin = (arg >> 6) - 1;
                const int64_t target = origin == 0 ? offset : origin > 0 ? position + offset : file_size + offset;
                if (target >= 0) tvk::channel_seek(kChannel, offset, origin);
                break;
            }
            case 4:
                // Only whole reads: a disk file's short read is an error stop.
                if (position + arg % 70 + 1 <= file_size) {
                    const tvk::RtString got = tvk::channel_read_bytes(kChannel, arg % 70 + 1);
                    if (got.length != arg % 70u + 1) std::abort();
                }
                break;
        }
    }
    tvk::channel_close(kChannel);
    tvk::clear_error();
    return 0;
}
