#pragma once
// The file record shared by the channels and by every loader that reads a file:
// a disk file or a memory file, with the runtime's own read position.
#include <cstdint>
#include <string>

#include "runtime/files/memory_files.h"
#include "runtime/platform/files.h"

namespace tvk {

struct FileRecord {
    platform::File* handle = nullptr;  // the open disk file; null when not backed by one
    MemoryBlockRef memory;             // block of a memory file; kept alive while the record reads it
    int64_t size = 0;                  // of the disk file when it was opened, or of the block
    int64_t position = 0;              // logical read position, kept beside the system's file pointer

    bool is_open() const { return handle != nullptr || memory != nullptr; }
};

// Files are opened without sharing: while one record has a file open, opening it
// again (from this process or another runtime program) fails until it is closed.
// The record holds the file's lock (platform/files.h) for as long as it is open.

// Closes the record, then opens a memory-file name on its block, or an existing disk
// file (not a directory) for reading. No archive lookup: callers resolve the name
// first with resolve_media_path. An empty name gives 0.
int file_open_read(FileRecord& record, const char* name);
// Closes the record; a memory-file name gives 0. Otherwise deletes the file (or
// removes a directory of that name) and creates it anew for reading and writing.
int file_open_write(FileRecord& record, const char* name);
// Closes the record; a memory-file name gives 0. Opens the file for writing, creating
// it when missing, with the file pointer at its end; position stays 0.
int file_open_append(FileRecord& record, const char* name);

// Reads n bytes at position. Disk: 1 only when all n bytes arrived (position moves
// by n either way). Memory: copies what remains, at most n, zero-fills the rest, 1.
// A record that is not open, or a memory position before the block, gives 0.
int file_read(FileRecord& record, void* buffer, int64_t n);

// Outcome of reading one text line.
enum class LineRead { kLine, kNothing };
// Reads one line of at most limit bytes into buffer (which holds limit + 1 bytes)
// and zero-terminates it; the line feed and a carriage return right before it are
// removed. Disk files are read in pieces of 64 bytes with a rewind over what was
// read beyond the line feed. kNothing when no byte could be read at all.
LineRead read_text_line(FileRecord& record, char* buffer, int32_t limit, int32_t* line_length);
// read_text_line into a buffer of buffer_size bytes (at most buffer_size - 1 text bytes).
int file_read_line(FileRecord& record, char* buffer, int32_t buffer_size);

// Writes all n bytes at the system's file pointer; 0 without a disk handle or on a short write.
int file_write(FileRecord& record, const void* buffer, int64_t n);

// Moves the position as channel_seek does: origin 0 from the start, > 0 from the
// position, < 0 from the size. Disk files move their file pointer the same way.
void file_seek(FileRecord& record, int64_t offset, int32_t origin);

// Closes the handle if any and clears the record (the memory block is only released).
void file_close(FileRecord& record);

// Size of a disk file (not a directory) or memory file; -1 when it cannot be opened.
int64_t file_size_of(const char* name);

}  // namespace tvk
