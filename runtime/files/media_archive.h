#pragma once
// Name resolution for every file the runtime reads: the disk first, then the media
// archive (normally appended to the program's own executable).
#include <cstdint>
#include <string>

#include "runtime/files/memory_files.h"

namespace tvk {

struct MediaArchiveState {
    uint8_t enabled = 0;        // archive lookup allowed
    std::string archive_path;   // the archive file; may itself be a memory-file name
    std::string temp_file;      // temporary file made by the last lookup, or empty
    MemoryBlockRef block;       // block handed out by the last lookup, or null
};

// The two process-wide states: one hands out memory files (channels, images, fonts,
// sounds, the line and settings stores), the other temporary files (music).
struct MediaArchives {
    MediaArchiveState memory_files;
    MediaArchiveState temporary_files;
};

MediaArchives& media_archives();

// Finds name on disk (a file, not a directory) or else in the state's archive,
// matching the part after the last '/' or '\' against member names ignoring case.
// On success result is the name itself, a memory-file name of the unpacked member
// (want_memory) or the path of a temporary file holding it. Whatever the previous
// call on this state handed out is released first; readers that still hold that
// block keep it alive. A live memory-file name resolves to itself.
bool resolve_media_path(MediaArchiveState& state, const char* name, std::string& result, bool want_memory);

// Enables both states with their archive paths, releasing what they handed out.
void set_media_archives(const char* memory_files_archive, const char* temporary_files_archive);

// Releases both states' blocks and deletes their temporary files (at shutdown).
void release_media_archives();

}  // namespace tvk
