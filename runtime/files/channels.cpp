#include "runtime/files/channels.h"

#include <cstring>
#include <string>

#include "runtime/files/media_archive.h"
#include "runtime/files/path_names.h"
#include "runtime/value/error_state.h"
#include "runtime/value/number_text.h"

namespace tvk {

namespace {

constexpr int32_t kLineLimit = 1024;
constexpr int64_t kCopyPiece = 4096;

bool valid_channel(int32_t n) { return n >= 0 && n < kChannelCount; }

// The channel for an operation after which the program cannot go on without it:
// a number outside 0-7 stops with error code 7.
FileRecord* channel_or_stop(int32_t n) {
    if (valid_channel(n)) return &channel_table()[static_cast<size_t>(n)];
    set_error(kErrOutOfMemory);
    runtime_stop();
    return nullptr;
}

void fail_and_stop() {
    set_error(kErrNoSuchFile);
    runtime_stop();
}

int value_size(ChannelValueType type) {
    switch (type) {
        case ChannelValueType::kSignedByte:
        case ChannelValueType::kUnsignedByte: return 1;
        case ChannelValueType::kSigned16:
        case ChannelValueType::kUnsigned16: return 2;
        case ChannelValueType::kSigned32:
        case ChannelValueType::kUnsigned32:
        case ChannelValueType::kFloat32: return 4;
        case ChannelValueType::kFloat64: return 8;
    }
    return 0;
}

// Integer types take the low bits of the value's integer part.
int64_t integer_bits(double value) {
    if (!(value == value)) return 0;
    if (value >= 9.2e18) return INT64_MAX;
    if (value <= -9.2e18) return INT64_MIN;
    return static_cast<int64_t>(value);
}

void write_or_stop(FileRecord& record, const void* bytes, int64_t n) {
    if (!record.handle || file_write(record, bytes, n) == 0) fail_and_stop();
}

}  // namespace

ChannelTable& channel_table() {
    static ChannelTable table;
    return table;
}

int32_t channel_open(int32_t n, const RtString& name, int32_t mode) {
    if (!valid_channel(n)) {
        set_error(kErrOutOfMemory);
        return 0;
    }
    set_error(kErrSuccess);
    FileRecord& record = channel_table()[static_cast<size_t>(n)];
    file_close(record);
    int opened = 0;
    if (mode >= 1) {
        std::string resolved;
        if (!resolve_media_path(media_archives().memory_files, name.c_str(), resolved, true)) {
            set_error(kErrNoSuchFile);
        }
        opened = file_open_read(record, resolved.empty() ? name.c_str() : resolved.c_str());
    } else if (mode == 0) {
        opened = file_open_write(record, name.c_str());
    } else {
        opened = file_open_append(record, name.c_str());
    }
    if (!opened) set_error(kErrNoSuchFile);
    return opened;
}

void channel_close(int32_t n) {
    FileRecord* record = channel_or_stop(n);
    if (!record) return;
    file_close(*record);
    set_error(kErrSuccess);
}

int32_t channel_position(int32_t n) {
    FileRecord* record = channel_or_stop(n);
    return record ? static_cast<int32_t>(record->position) : 0;
}

int32_t channel_at_end(int32_t n) {
    if (!valid_channel(n)) {
        set_error(kErrOutOfMemory);
        return 1;
    }
    const FileRecord& record = channel_table()[static_cast<size_t>(n)];
    return record.position >= record.size ? 1 : 0;
}

void channel_seek(int32_t n, int32_t offset, int32_t origin) {
    FileRecord* record = channel_or_stop(n);
    if (record) file_seek(*record, offset, origin);
}

double channel_read_value(int32_t n, ChannelValueType type) {
    FileRecord* record = channel_or_stop(n);
    if (!record) return 0;
    uint8_t bytes[8] = {};
    const int size = value_size(type);
    if (file_read(*record, bytes, size) == 0) {
        fail_and_stop();
        return 0;
    }
    switch (type) {
        case ChannelValueType::kSignedByte: return static_cast<int8_t>(bytes[0]);
        case ChannelValueType::kUnsignedByte: return bytes[0];
        case ChannelValueType::kSigned16: return static_cast<int16_t>(bytes[0] | bytes[1] << 8);
        case ChannelValueType::kUnsigned16: return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
        case ChannelValueType::kSigned32:
        case ChannelValueType::kUnsigned32: {
            int32_t v;
            std::memcpy(&v, bytes, 4);
            return v;
        }
        case ChannelValueType::kFloat32: {
            float v;
            std::memcpy(&v, bytes, 4);
            return v;
        }
        case ChannelValueType::kFloat64: {
            double v;
            std::memcpy(&v, bytes, 8);
            return v;
        }
    }
    return 0;
}

RtString channel_read_bytes(int32_t n, int32_t count) {
    FileRecord* record = channel_or_stop(n);
    RtString result;
    if (!record || count <= 0) return result;
    string_reserve(result, static_cast<uint32_t>(count) + 32, false);
    std::memset(result.data, 0, result.capacity);
    if (file_read(*record, result.data, count) == 0) {
        fail_and_stop();
        return RtString();
    }
    // The stated count even when fewer bytes were left: the rest reads as zero bytes.
    result.length = static_cast<uint32_t>(count);
    return result;
}

RtString channel_read_line(int32_t n) {
    FileRecord* record = channel_or_stop(n);
    RtString result;
    if (!record) return result;
    string_reserve(result, kLineLimit, false);
    if (read_text_line(*record, result.data, kLineLimit, nullptr) == LineRead::kNothing) {
        fail_and_stop();
        return RtString();
    }
    result.length = static_cast<uint32_t>(std::strlen(result.data));
    return result;
}

double channel_read_line_float(int32_t n) { return text_to_float(channel_read_line(n)); }

int32_t channel_read_line_int(int32_t n) { return text_to_int(channel_read_line(n)); }

void channel_write_value(int32_t n, ChannelValueType type, double value) {
    FileRecord* record = channel_or_stop(n);
    if (!record) return;
    uint8_t bytes[8] = {};
    const int size = value_size(type);
    if (type == ChannelValueType::kFloat32) {
        const auto v = static_cast<float>(value);
        std::memcpy(bytes, &v, 4);
    } else if (type == ChannelValueType::kFloat64) {
        std::memcpy(bytes, &value, 8);
    } else {
        const auto bits = static_cast<uint64_t>(integer_bits(value));
        for (int i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    write_or_stop(*record, bytes, size);
}

void channel_write_bytes(int32_t n, const RtString& bytes) {
    FileRecord* record = channel_or_stop(n);
    if (record) write_or_stop(*record, bytes.data, bytes.length);
}

void channel_write_line(int32_t n, const RtString& text) {
    FileRecord* record = channel_or_stop(n);
    if (!record) return;
    write_or_stop(*record, text.data, text.length);
    if (!runtime_stopping()) write_or_stop(*record, "\r\n", 2);
}

int32_t file_size(const RtString& name) {
    const int64_t size = file_size_of(name.c_str());
    if (size < 0) {
        set_error(kErrNoSuchFile);
        return 0;
    }
    return static_cast<int32_t>(size);
}

void copy_file(const RtString& source, const RtString& target) {
    set_error(kErrSuccess);
    FileRecord in;
    if (!file_open_read(in, source.c_str())) {
        set_error(kErrNoSuchFile);
        return;
    }
    FileRecord out;
    if (!file_open_write(out, target.c_str())) {
        file_close(in);
        set_error(kErrNoSuchFile);
        return;
    }
    bool ok = true;
    char piece[kCopyPiece];
    for (int64_t left = in.size; left > 0 && ok; left -= kCopyPiece) {
        const int64_t n = left < kCopyPiece ? left : kCopyPiece;
        ok = file_read(in, piece, n) != 0 && file_write(out, piece, n) != 0;
    }
    file_close(in);
    file_close(out);
    if (!ok) {
        remove_file_or_directory(system_path(target.c_str()));
        set_error(kErrNoSuchFile);
    }
}

void close_all_channels() {
    for (FileRecord& record : channel_table()) file_close(record);
}

}  // namespace tvk
