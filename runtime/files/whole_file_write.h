#pragma once
// Replacing a file whole. The new bytes go to a file beside it (name + ".new"),
// are flushed to the disk and renamed over the old file, so a failure on the way —
// a full disk, a crash, a killed process — leaves the old file as it was instead of
// an emptied or half-written one. Used by the stores that rewrite their file at exit.
#include <string>

namespace tvk {

// True when the file named (either separator) now holds exactly bytes. False, with
// the old file untouched and nothing left beside it, when the bytes cannot all be
// written and flushed, when another record or program holds the file open, or for a
// memory-file name. An empty directory of that name is removed first, as opening a
// file for writing removes one; a directory with files in it stays, and the write fails.
bool write_file_whole(const std::string& name, const std::string& bytes);

}  // namespace tvk
