#pragma once
// The progress file "moredata.txt": one enciphered line of 51 digits, digit r being
// 1 once round r has been completed (digit 0 is always 0); the line format is
// game/content/progress_line.h.
//
// It lives in the Media folder beside the puzzle file. When that folder cannot be
// written (a game installed for every user), it is kept in the user's data folder
// instead, and a copy found there is the one read at start and written from then on.
// Every save replaces the file whole: the new line is written beside the old file,
// flushed to disk and renamed over it, so an interrupted save leaves the old progress.
#include <string>

#include "game/content/progress_line.h"
#include "runtime/value/rt_string.h"

namespace tvk::game {

inline constexpr const char* kProgressFile = "moredata.txt";

// The user's application-data folder + "/SplitVerse": "$XDG_DATA_HOME/SplitVerse",
// else "$HOME/.local/share/SplitVerse" on Linux, "%LOCALAPPDATA%/SplitVerse" on
// Windows; "" when the system names no such folder.
std::string progress_data_folder();

// The progress file that load_progress reads: the data folder's copy when there is
// one, else "moredata.txt" in the current folder (the Media folder).
std::string progress_file_path();

void load_progress();
void save_progress();

// The enciphered line of the progress array.
RtString progress_line();

// The two halves of a save. The first writes the line to target + ".new" and
// flushes it; false (and no file left beside) when that file cannot be created or
// the flush fails. A write the channel refuses stops the program with the
// runtime's error report, as every failed channel write does. The second renames
// it over the target and flushes the folder; false when the rename fails.
bool write_progress_beside(const std::string& target, const RtString& line);
bool replace_with_written(const std::string& target);

}  // namespace tvk::game
