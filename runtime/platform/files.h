#pragma once
// The file service: opening, reading, writing, locking and durably replacing files.
//
// Contract: paths are UTF-8 text with '/' between their parts (a backend converts
// them at the system call); a File is an opaque open file, reached only through
// the functions here and ended by close_file. Every file the runtime opens is
// kept from child programs (close-on-exec, not inheritable), and a call that the
// system interrupts is retried, so a short result means the end of the file or a
// real failure. Folders are never opened as files.
//
// Holding a file: an open with `exclusive`, and lock_file_exclusive, take the one
// lock a file has. While a handle holds it, another exclusive open or lock of the
// same file fails (or, for a waiting lock, waits), whether it comes from this
// process or another; the lock ends when the handle unlocks or closes it, or its
// process ends, crashed or not. The lock is advisory towards opens without
// `exclusive`: on POSIX they read and write as usual; a Windows backend may refuse
// their reads and writes of a locked file. So guard shared data with a lock taken
// on a lock file of its own, and read the data through a separate file.
//
// Durable replacement: replace_file renames one file over another in one step that
// a crash cannot split, and returns only once the new name is on the disk. The
// write_file_beside / replace_with_beside pair (and replace_file_durably, the two
// in one) build on it: the new bytes go to a file beside the target, are flushed,
// and only then take the target's name, so a full disk, a crash or a killed
// process leaves either the old file or the new one, never a mixture.
#include <cstdint>
#include <string>

#include "runtime/platform/folders.h"

namespace tvk::platform {

struct File;  // opaque: one open file

enum class FileAccess : uint8_t {
    kRead,
    kWrite,
    kReadWrite,
    kAppend,  // writing only; every write lands at the end of the file as it is then
};

enum class FileCreation : uint8_t {
    kExisting,      // the file must exist
    kOpenOrCreate,  // created empty when missing, else kept as it is
    kTruncate,      // created when missing, emptied when there (after the lock is taken)
    kCreateNew,     // a new file only: fails when anything has that name, a link
                    // included, so nothing is ever written through a planted link
};

struct FileOpening {
    FileAccess access = FileAccess::kRead;
    FileCreation creation = FileCreation::kExisting;
    bool exclusive = false;  // take the file's lock without waiting; fail when it is held
};

// Why an open failed, in the runtime's own terms.
enum class FileError : uint8_t {
    kNone,
    kMissing,   // no such file, or a folder on the way is missing
    kExists,    // kCreateNew found something of that name
    kIsFolder,
    kHeld,      // exclusive, and another handle holds the lock
    kDenied,    // the system refused access
    kOther,
};

// The open file, or null with the reason in error (when given).
File* open_file(const std::string& path, const FileOpening& how, FileError* error = nullptr);
// Closes the file (null is allowed); false when the system reports that written
// data may not have reached the file.
bool close_file(File* file);

// Reads up to n bytes at the file pointer; the number that arrived, fewer only at
// the end of the file or on a failure.
int64_t read_file(File* file, void* buffer, int64_t n);
// Reads up to n bytes at offset, for files read from many places at once. Where
// the file pointer is afterwards is the backend's (POSIX leaves it, Windows moves
// it): do not mix with read_file on one handle.
int64_t read_file_at(File* file, int64_t offset, void* buffer, int64_t n);
// Writes all n bytes at the file pointer (kAppend: at the end); false on a short write.
bool write_file(File* file, const void* buffer, int64_t n);

enum class SeekFrom : uint8_t { kStart, kCurrent, kEnd };
// Moves the file pointer; false, with the pointer where it was, when the system
// refuses (a position before the start of the file, say).
bool seek_file(File* file, int64_t offset, SeekFrom from);

// The open file's kind, size and time (kind kMissing when the system cannot say).
PathInfo file_info(File* file);

// Asks the system to put the file's bytes on the disk; false when it could not.
bool flush_file(File* file);

// Takes the file's lock for this handle (see above). wait = false fails at once
// when another handle holds it; wait = true blocks until it is free.
bool lock_file_exclusive(File* file, bool wait);
void unlock_file(File* file);

// True when an existing file at path has its lock held by a handle, here or in
// another process (a handle of this process that holds it counts too).
bool file_is_held(const std::string& path);

// Deletes a file, or a link itself (never what it points to); never a folder.
bool remove_file(const std::string& path);

// Renames the file from over the file to (replacing it in one step) and makes the
// rename durable before returning: the folder is flushed on POSIX, the move is
// written through on Windows. False, with both names as they were, on failure.
bool replace_file(const std::string& from, const std::string& to);

// The file beside path that a durable replacement writes first: path + ".new".
std::string beside_path(const std::string& path);
// Writes bytes into a new file beside path (whatever had that name is removed
// first: a file, a link, an empty folder) and flushes it to the disk; false, with
// nothing left beside path, when any of that fails.
bool write_file_beside(const std::string& path, const void* bytes, int64_t size);
// Gives the file beside path the name path (replace_file); false, with the file
// beside removed and path as it was, on failure.
bool replace_with_beside(const std::string& path);
// write_file_beside, then replace_with_beside: true when path now holds exactly
// bytes, on the disk; false with path as it was and nothing beside it.
bool replace_file_durably(const std::string& path, const void* bytes, int64_t size);

}  // namespace tvk::platform
