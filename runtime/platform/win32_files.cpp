// The file service over Win32 file handles. An exclusive open shares the file with
// no other handle: the system refuses every other open of it, from this process or
// another, until that handle is closed. The lock that lock_file_exclusive takes is
// a byte-range lock (LockFileEx) on the last byte a file could have, far beyond its
// data, so that it keeps out other lockers and exclusive opens without refusing
// anybody's reads and writes; the system lifts it when the handle is closed or its
// process ends.
#include <windows.h>

#include <algorithm>

#include "runtime/platform/files.h"
#include "runtime/platform/win32_path_info.h"
#include "runtime/platform/win32_text.h"

namespace tvk::platform {

struct File {
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool locked = false;  // a second lock through the same handle is already held
};

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kLockOffsetLow = 0xFFFFFFFE;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
// ReadFile and WriteFile take a 32-bit count: larger transfers go in pieces.
constexpr int64_t kPiece = 1 << 30;

HANDLE handle_of(File* file) { return file ? file->handle : INVALID_HANDLE_VALUE; }

DWORD desired_access(FileAccess access) {
    switch (access) {
        case FileAccess::kRead: return GENERIC_READ;
        case FileAccess::kWrite: return GENERIC_WRITE;
        case FileAccess::kReadWrite: return GENERIC_READ | GENERIC_WRITE;
        // Appending data only: the system puts every write at the end of the file.
        case FileAccess::kAppend: return FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    }
    return GENERIC_READ;
}

DWORD disposition(FileCreation creation) {
    switch (creation) {
        case FileCreation::kExisting: return OPEN_EXISTING;
        // Emptied once open, so that an open the sharing refuses empties nothing.
        case FileCreation::kOpenOrCreate:
        case FileCreation::kTruncate: return OPEN_ALWAYS;
        case FileCreation::kCreateNew: return CREATE_NEW;
    }
    return OPEN_EXISTING;
}

FileError error_of(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_DIRECTORY: return FileError::kMissing;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return FileError::kExists;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return FileError::kHeld;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT: return FileError::kDenied;
        default: return FileError::kOther;
    }
}

// Why the open of path failed: the system answers "access denied" for a folder.
FileError open_error(const std::wstring& path, const FileOpening& how) {
    const DWORD code = GetLastError();
    if (code == ERROR_ACCESS_DENIED) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return how.creation == FileCreation::kCreateNew ? FileError::kExists : FileError::kIsFolder;
        }
    }
    return error_of(code);
}

OVERLAPPED lock_place() {
    OVERLAPPED place{};
    place.Offset = kLockOffsetLow;
    place.OffsetHigh = kLockOffsetHigh;
    return place;
}

bool take_lock(HANDLE handle, bool wait) {
    OVERLAPPED place = lock_place();
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    return LockFileEx(handle, flags, 0, 1, 0, &place) != 0;
}

void release_lock(HANDLE handle) {
    OVERLAPPED place = lock_place();
    UnlockFileEx(handle, 0, 1, 0, &place);
}

bool empty_file(HANDLE handle) {
    if (GetFileType(handle) != FILE_TYPE_DISK) return true;
    LARGE_INTEGER start{};
    return SetFilePointerEx(handle, start, nullptr, FILE_BEGIN) && SetEndOfFile(handle);
}

}  // namespace

File* open_file(const std::string& path, const FileOpening& how, FileError* error) {
    if (error) *error = FileError::kNone;
    const std::wstring wide = system_path_wide(path);
    // Not inheritable (no security attributes): child programs never get the handle.
    const HANDLE handle = CreateFileW(wide.c_str(), desired_access(how.access), how.exclusive ? 0 : kShareAll,
                                      nullptr, disposition(how.creation), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (error) *error = open_error(wide, how);
        return nullptr;
    }
    if (how.creation == FileCreation::kTruncate && !empty_file(handle)) {
        if (error) *error = error_of(GetLastError());
        CloseHandle(handle);
        return nullptr;
    }
    return new File{handle};
}

bool close_file(File* file) {
    if (!file) return true;
    const bool closed = CloseHandle(file->handle) != 0;
    delete file;
    return closed;
}

int64_t read_file(File* file, void* buffer, int64_t n) {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t got = 0;
    while (got < n) {
        DWORD r = 0;
        const auto want = static_cast<DWORD>(std::min(n - got, kPiece));
        if (!ReadFile(handle_of(file), out + got, want, &r, nullptr) || r == 0) break;
        got += r;
    }
    return got;
}

int64_t read_file_at(File* file, int64_t offset, void* buffer, int64_t n) {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t got = 0;
    while (got < n) {
        OVERLAPPED place{};
        const auto at = static_cast<uint64_t>(offset + got);
        place.Offset = static_cast<DWORD>(at);
        place.OffsetHigh = static_cast<DWORD>(at >> 32);
        DWORD r = 0;
        const auto want = static_cast<DWORD>(std::min(n - got, kPiece));
        if (!ReadFile(handle_of(file), out + got, want, &r, &place) || r == 0) break;
        got += r;
    }
    return got;
}

bool write_file(File* file, const void* buffer, int64_t n) {
    const auto* in = static_cast<const uint8_t*>(buffer);
    int64_t done = 0;
    while (done < n) {
        DWORD w = 0;
        const auto want = static_cast<DWORD>(std::min(n - done, kPiece));
        if (!WriteFile(handle_of(file), in + done, want, &w, nullptr) || w == 0) return false;
        done += w;
    }
    return true;
}

bool seek_file(File* file, int64_t offset, SeekFrom from) {
    const DWORD method = from == SeekFrom::kStart ? FILE_BEGIN : from == SeekFrom::kCurrent ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return SetFilePointerEx(handle_of(file), distance, nullptr, method) != 0;
}

PathInfo file_info(File* file) {
    const HANDLE handle = handle_of(file);
    if (handle == INVALID_HANDLE_VALUE) return {};
    if (GetFileType(handle) != FILE_TYPE_DISK) return {.kind = PathKind::kDevice};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return {};
    return path_info_of(info);
}

bool flush_file(File* file) { return FlushFileBuffers(handle_of(file)) != 0; }

bool lock_file_exclusive(File* file, bool wait) {
    if (!file) return false;
    if (!file->locked) file->locked = take_lock(file->handle, wait);
    return file->locked;
}

void unlock_file(File* file) {
    if (!file || !file->locked) return;
    release_lock(file->handle);
    file->locked = false;
}

bool file_is_held(const std::string& path) {
    const std::wstring wide = system_path_wide(path);
    const HANDLE handle =
        CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    // Refused for sharing: an exclusive open holds it.
    if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    bool held = false;
    if (GetFileType(handle) == FILE_TYPE_DISK) {
        held = !take_lock(handle, false);
        if (!held) release_lock(handle);
    }
    CloseHandle(handle);
    return held;
}

bool remove_file(const std::string& path) { return DeleteFileW(system_path_wide(path).c_str()) != 0; }

bool replace_file(const std::string& from, const std::string& to) {
    const std::wstring wide_from = system_path_wide(from);
    const std::wstring wide_to = system_path_wide(to);
    // A file another program has open without delete sharing (a reader such as a
    // second copy of the program or a C library stream, a virus scanner, an indexer)
    // cannot be replaced until it lets go, which is a matter of milliseconds: try
    // again for a short while before reporting the failure.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(wide_from.c_str(), wide_to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        if (attempt == 50 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) return false;
        Sleep(2);
    }
}

}  // namespace tvk::platform
