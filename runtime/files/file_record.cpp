#include "runtime/files/file_record.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "runtime/files/path_names.h"

namespace tvk {

namespace {

constexpr int32_t kLinePiece = 64;

// Takes the file for this record alone; false when someone else holds it.
bool take_exclusively(int fd) { return flock(fd, LOCK_EX | LOCK_NB) == 0; }

int64_t read_fully(int fd, void* buffer, int64_t n) {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, out + got, static_cast<size_t>(n - got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += r;
    }
    return got;
}

// Moves the system file pointer; a failed move leaves it where it was, like the
// system this runtime was first written for.
void move_file_pointer(int fd, int64_t offset, int whence) { ::lseek(fd, offset, whence); }

}  // namespace

int open_retrying(const char* path, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool held_by_another(const std::string& path) {
    const int fd = open_retrying(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    const bool held = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && !take_exclusively(fd);
    ::close(fd);
    return held;
}

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
    const std::string path = system_path(name);
    const int fd = open_retrying(path.c_str(), O_RDONLY);
    if (fd < 0) return 0;
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) || !take_exclusively(fd)) {
        ::close(fd);
        return 0;
    }
    record.handle = fd;
    record.size = static_cast<int64_t>(info.st_size);
    record.position = 0;
    return 1;
}

int file_open_write(FileRecord& record, const char* name) {
    file_close(record);
    if (!name || !*name || is_memory_file_name(name)) return 0;
    const std::string path = system_path(name);
    if (held_by_another(path)) return 0;
    // A device, pipe or socket of that name is written as it is: deleting it would
    // take it away from every other program (run as root, even /dev/null).
    struct stat existing {};
    const bool special = ::lstat(path.c_str(), &existing) == 0 &&
                         (S_ISCHR(existing.st_mode) || S_ISBLK(existing.st_mode) ||
                          S_ISFIFO(existing.st_mode) || S_ISSOCK(existing.st_mode));
    if (!special) remove_file_or_directory(path);
    const int fd = open_retrying(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return 0;
    if (!take_exclusively(fd)) {
        ::close(fd);
        return 0;
    }
    record.handle = fd;
    record.size = 0;
    record.position = 0;
    return 1;
}

int file_open_append(FileRecord& record, const char* name) {
    file_close(record);
    if (!name || !*name || is_memory_file_name(name)) return 0;
    const std::string path = system_path(name);
    const int fd = open_retrying(path.c_str(), O_WRONLY | O_CREAT, 0666);
    if (fd < 0) return 0;
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) || !take_exclusively(fd)) {
        ::close(fd);
        return 0;
    }
    move_file_pointer(fd, 0, SEEK_END);
    record.handle = fd;
    record.size = static_cast<int64_t>(info.st_size);
    record.position = 0;
    return 1;
}

int file_read(FileRecord& record, void* buffer, int64_t n) {
    if (n <= 0) return record.is_open() ? 1 : 0;
    if (record.handle >= 0) {
        record.position += n;
        return read_fully(record.handle, buffer, n) == n ? 1 : 0;
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
    if (record.handle >= 0) {
        bool ended = false;
        bool first = true;
        while (!ended && length < limit) {
            const int32_t want = std::min(kLinePiece, limit - length);
            const int64_t got = read_fully(record.handle, buffer + length, want);
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
                move_file_pointer(record.handle, -beyond, SEEK_CUR);
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
    if (record.handle < 0) return 0;
    const auto* in = static_cast<const uint8_t*>(buffer);
    int64_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(record.handle, in + done, static_cast<size_t>(n - done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return 0;
        done += w;
    }
    return 1;
}

void file_seek(FileRecord& record, int64_t offset, int32_t origin) {
    int whence = SEEK_SET;
    if (origin == 0) {
        record.position = offset;
    } else if (origin > 0) {
        record.position += offset;
        whence = SEEK_CUR;
    } else {
        record.position = record.size + offset;
        whence = SEEK_END;
    }
    if (record.handle >= 0) move_file_pointer(record.handle, offset, whence);
}

void file_close(FileRecord& record) {
    if (record.handle >= 0) ::close(record.handle);
    record.handle = -1;
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
    struct stat info {};
    const std::string path = system_path(name);
    if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
    return static_cast<int64_t>(info.st_size);
}

}  // namespace tvk
