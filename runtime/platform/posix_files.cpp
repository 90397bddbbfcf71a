// The file service over POSIX descriptors; a file's lock is flock(2), which belongs
// to the open file (not to the process) and ends with it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "runtime/platform/files.h"
#include "runtime/platform/posix_path_info.h"

namespace tvk::platform {

struct File {
    int fd = -1;
};

namespace {

int descriptor(File* file) { return file ? file->fd : -1; }

int open_retrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int system_flags(const FileOpening& how) {
    int flags = 0;
    switch (how.access) {
        case FileAccess::kRead: flags = O_RDONLY; break;
        case FileAccess::kWrite: flags = O_WRONLY; break;
        case FileAccess::kReadWrite: flags = O_RDWR; break;
        case FileAccess::kAppend: flags = O_WRONLY | O_APPEND; break;
    }
    switch (how.creation) {
        case FileCreation::kExisting: break;
        case FileCreation::kOpenOrCreate: flags |= O_CREAT; break;
        // An exclusive open empties the file only once it holds the lock.
        case FileCreation::kTruncate: flags |= O_CREAT | (how.exclusive ? 0 : O_TRUNC); break;
        case FileCreation::kCreateNew: flags |= O_CREAT | O_EXCL | O_NOFOLLOW; break;
    }
    return flags;
}

FileError error_of(int code) {
    switch (code) {
        case ENOENT:
        case ENOTDIR: return FileError::kMissing;
        case EEXIST: return FileError::kExists;
        case EISDIR: return FileError::kIsFolder;
        case EACCES:
        case EPERM:
        case EROFS: return FileError::kDenied;
        case EWOULDBLOCK: return FileError::kHeld;
        default: return FileError::kOther;
    }
}

bool take_lock(int fd, bool wait) {
    int result;
    do {
        result = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

File* failed(int fd, FileError why, FileError* error) {
    if (fd >= 0) ::close(fd);
    if (error) *error = why;
    return nullptr;
}

}  // namespace

File* open_file(const std::string& path, const FileOpening& how, FileError* error) {
    if (error) *error = FileError::kNone;
    const int fd = open_retrying(path.c_str(), system_flags(how), 0666);
    if (fd < 0) {
        // O_NOFOLLOW meeting a link: something has that name.
        const bool link = errno == ELOOP && how.creation == FileCreation::kCreateNew;
        return failed(-1, link ? FileError::kExists : error_of(errno), error);
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) return failed(fd, error_of(errno), error);
    if (S_ISDIR(info.st_mode)) return failed(fd, FileError::kIsFolder, error);
    if (how.exclusive && !take_lock(fd, false)) return failed(fd, error_of(errno), error);
    if (how.exclusive && how.creation == FileCreation::kTruncate && S_ISREG(info.st_mode) &&
        info.st_size != 0 && ::ftruncate(fd, 0) != 0) {
        return failed(fd, error_of(errno), error);
    }
    return new File{fd};
}

bool close_file(File* file) {
    if (!file) return true;
    // The descriptor is gone after close even when it reports EINTR; it is not retried.
    const bool closed = ::close(file->fd) == 0;
    delete file;
    return closed;
}

int64_t read_file(File* file, void* buffer, int64_t n) {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(descriptor(file), out + got, static_cast<size_t>(n - got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += r;
    }
    return got;
}

int64_t read_file_at(File* file, int64_t offset, void* buffer, int64_t n) {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(descriptor(file), out + got, static_cast<size_t>(n - got), offset + got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += r;
    }
    return got;
}

bool write_file(File* file, const void* buffer, int64_t n) {
    const auto* in = static_cast<const uint8_t*>(buffer);
    int64_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(descriptor(file), in + done, static_cast<size_t>(n - done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += w;
    }
    return true;
}

bool seek_file(File* file, int64_t offset, SeekFrom from) {
    const int whence = from == SeekFrom::kStart ? SEEK_SET : from == SeekFrom::kCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(descriptor(file), offset, whence) >= 0;
}

PathInfo file_info(File* file) {
    struct stat info {};
    if (fstat(descriptor(file), &info) != 0) return {};
    return path_info_of(info);
}

bool flush_file(File* file) {
    int result;
    do {
        result = ::fsync(descriptor(file));
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool lock_file_exclusive(File* file, bool wait) { return file && take_lock(file->fd, wait); }

void unlock_file(File* file) {
    if (file) ::flock(file->fd, LOCK_UN);
}

bool file_is_held(const std::string& path) {
    // Without blocking, so that a pipe of that name does not wait for a writer.
    const int fd = open_retrying(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    const bool held = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && !take_lock(fd, false);
    ::close(fd);
    return held;
}

bool remove_file(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool replace_file(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    // The rename has happened; a folder that cannot be flushed changes nothing now.
    const size_t cut = to.find_last_of('/');
    const std::string folder = cut == std::string::npos ? "." : cut == 0 ? "/" : to.substr(0, cut);
    const int fd = open_retrying(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return true;
}

}  // namespace tvk::platform
