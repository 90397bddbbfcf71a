#include "runtime/files/file_record.h"

#include <algorithm>
#include <cstring>

#include "runtime/files/path_names.h"

namespace tvk {

namespace {

constexpr int32_t kLinePiece = 64;

using platform::FileAccess;
using platform::FileCreation;

// Moves the system file pointer; a failed move leaves it where it was, like the
// system this runtime was first written for.
void move_file_pointer(platform::File* file, int64_t offset, platform::SeekFrom from) {
    platform::seek_file(file, offset, from);
}

// Opens the disk file for the record alone; false when that fails or someone else holds it.
bool open_disk_file(FileRecord& record, const std::string& path, const platform::FileOpening& how) {
    platform::File* file = platform::open_file(path, how);
    if (!file) return false;
    record.handle = file;
    record.size = platform::file_info(file).size;
    record.position = 0;
    return true;
}

}  // namespace

int file_open_read(FileRecord& record, const char* name) {
    file_close(record);
    if (!name || !*name) return 0;
    if (is_memory_file_name(name)) {
        MemoryBlockRef block = find_memory_file(name);
        if (!block) return 0;
        record.size = static_cast<int64_t>(block->bytes.size());
        record.memory = std::move(block);
        record.position = 0;
        return 1;
    }
    return open_disk_file(record, system_path(name),
                          {.access = FileAccess::kRead, .creation = FileCreation::kExisting, .exclusive = true})
               ? 1
               : 0;
}

int file_open_write(FileRecord& record, const char* name) {
    file_close(record);
    if (!name || !*name || is_memory_file_name(name)) return 0;
    const std::string path = system_path(name);
    if (platform::file_is_held(path)) return 0;
    // A device, pipe or socket of that name is written as it is: deleting it would
    // take it away from every other program (run as root, even /dev/null).
    if (platform::path_kind(path, false) != platform::PathKind::kDevice) remove_file_or_directory(path);
    if (!open_disk_file(record, path,
                        {.access = FileAccess::kReadWrite, .creation = FileCreation::kTruncate, .exclusive = true})) {
        return 0;
    }
    record.size = 0;
    return 1;
}

int file_open_append(FileRecord& record, const char* name) {
    file_close(record);
    if (!name || !*name || is_memory_file_name(name)) return 0;
    if (!open_disk_file(record, system_path(name),
                        {.access = FileAccess::kWrite, .creation = FileCreation::kOpenOrCreate, .exclusive = true})) {
        return 0;
    }
    move_file_pointer(record.handle, 0, platform::SeekFrom::kEnd);
    return 1;
}

int file_read(FileRecord& record, void* buffer, int64_t n) {
    if (n <= 0) return record.is_open() ? 1 : 0;
    if (record.handle) {
        record.position += n;
        return platform::read_file(record.handle, buffer, n) == n ? 1 : 0;
    }
    if (!record.memory || record.position < 0) return 0;
    const int64_t remaining = std::max<int64_t>(0, record.size - record.position);
    const int64_t take = std::min(n, remaining);
    if (take > 0) std::memcpy(buffer, record.memory->bytes.data() + record.position, static_cast<size_t>(take));
    std::memset(static_cast<uint8_t*>(buffer) + take, 0, static_cast<size_t>(n - take));
    record.position += take;
    return 1;
}

LineRead read_text_line(FileRecord& record, char* buffer, int32_t limit, int32_t* line_length) {
    std::memset(buffer, 0, static_cast<size_t>(limit) + 1);
    int32_t length = 0;
    if (record.handle) {
        bool ended = false;
        bool first = true;
        while (!ended && length < limit) {
            const int32_t want = std::min(kLinePiece, limit - length);
            const int64_t got = platform::read_file(record.handle, buffer + length, want);
            if (got == 0) {
                if (first) return LineRead::kNothing;
                break;  // the end of the file ends the line
            }
            first = false;
            record.position += got;
            // A short piece is the end of the file: it ends the line as a line feed would.
            if (got < want) buffer[length + got] = '\n';
            for (int32_t i = 0; i <= got && length + i < limit + 1; ++i) {
                if (buffer[length + i] != '\n') continue;
                // Give back what was read beyond the line feed (for a short piece the
                // placed line feed lies one byte past the end, so this moves forward).
                const int64_t beyond = got - (i + 1);
                move_file_pointer(record.handle, -beyond, platform::SeekFrom::kCurrent);
                record.position -= beyond;
                std::memset(buffer + length + i, 0, static_cast<size_t>(limit - length - i) + 1);
                length += i;
                ended = true;
                break;
            }
            if (!ended) length += static_cast<int32_t>(got);
        }
        if (ended && length > 0 && buffer[length - 1] == '\r') buffer[--length] = 0;
    } else if (record.memory) {
        if (record.position < 0 || record.position >= record.size) return LineRead::kNothing;
        const uint8_t* bytes = record.memory->bytes.data();
        const int64_t end = std::min(record.size, record.position + limit);
        int64_t at = record.position;
        while (at < end && bytes[at] != '\n') ++at;
        length = static_cast<int32_t>(at - record.position);
        std::memcpy(buffer, bytes + record.position, static_cast<size_t>(length));
        const bool found = at < record.size && bytes[at] == '\n';
        record.position = found ? at + 1 : at;
        // The end of the block ends the line as a line feed would, as it does on disk,
        // so a packed text file reads exactly like the same file on disk.
        const bool ended = found || at == record.size;
        if (ended && length > 0 && buffer[length - 1] == '\r') buffer[--length] = 0;
    } else {
        return LineRead::kNothing;
    }
    if (line_length) *line_length = length;
    return LineRead::kLine;
}

int file_read_line(FileRecord& record, char* buffer, int32_t buffer_size) {
    if (buffer_size < 2) return 0;
    return read_text_line(record, buffer, buffer_size - 1, nullptr) == LineRead::kLine ? 1 : 0;
}

int file_write(FileRecord& record, const void* buffer, int64_t n) {
    if (!record.handle) return 0;
    return platform::write_file(record.handle, buffer, n) ? 1 : 0;
}

void file_seek(FileRecord& record, int64_t offset, int32_t origin) {
    platform::SeekFrom from = platform::SeekFrom::kStart;
    if (origin == 0) {
        record.position = offset;
    } else if (origin > 0) {
        record.position += offset;
        from = platform::SeekFrom::kCurrent;
    } else {
        record.position = record.size + offset;
        from = platform::SeekFrom::kEnd;
    }
    if (record.handle) move_file_pointer(record.handle, offset, from);
}

void file_close(FileRecord& record) {
    platform::close_file(record.handle);
    record.handle = nullptr;
    record.memory.reset();
    record.size = 0;
    record.position = 0;
}

int64_t file_size_of(const char* name) {
    if (!name || !*name) return -1;
    if (is_memory_file_name(name)) {
        const MemoryBlockRef block = find_memory_file(name);
        return block ? static_cast<int64_t>(block->bytes.size()) : -1;
    }
    const platform::PathInfo info = platform::path_info(system_path(name));
    if (info.kind == platform::PathKind::kMissing || info.kind == platform::PathKind::kFolder) return -1;
    return info.size;
}

}  // namespace tvk
