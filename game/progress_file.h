#pragma once
// The progress file "moredata.txt": one enciphered line of 51 digits, digit r being
// 1 once round r has been completed (digit 0 is always 0); the line format is
// game/content/progress_line.h.
//
// It lives in the Media folder beside the puzzle file. When that folder cannot be
// written (a game installed for every user), it is kept in the user's data folder
// instead, and a copy found there is the one read at start and written from then on.
//
// Several copies of the game may run at once, each with the progress it loaded at
// start. A save therefore does not simply write this copy's rounds: under the lock
// of "moredata.txt.lock" beside the file it reads the file as it is now and writes
// the merge of the two (merged_progress below), so that a round another copy
// completed in the meantime is not lost. The file is replaced whole: the new line is
// written beside it, flushed and renamed over it, so an interrupted save leaves the
// old progress. The lock file stays after the save; removing it would let a copy
// that has just opened it lock a file nobody else looks at any more.
//
// When no folder can take the file, the player is told which folders were tried and
// why (a message box and the same line on standard error), and the program stops
// with the runtime's error report, as a failed file write does.
#include <array>
#include <string>

#include "game/content/progress_line.h"

namespace tvk::game {

inline constexpr const char* kProgressFile = "moredata.txt";

using Progress = std::array<double, kProgressDigits>;

// The user's application-data folder + "/SplitVerse": "$XDG_DATA_HOME/SplitVerse",
// else "$HOME/.local/share/SplitVerse" on Linux, "%LOCALAPPDATA%/SplitVerse" on
// Windows; "" when the system names no such folder.
std::string progress_data_folder();

// The progress file that load_progress reads: the data folder's copy when there is
// one, else "moredata.txt" in the current folder (the Media folder).
std::string progress_file_path();

void load_progress();
void save_progress();

// What a save writes, round by round. shown is this copy's progress array now;
// on_record is that array as this copy last loaded or saved it; on_disk is the file
// as the save finds it.
// - A round this copy shows as completed is written completed: its player sees
//   the marker, and completing a round is never undone by another copy.
// - A round this copy no longer shows but had on record was cleared by the reset
//   here since the last load or save, and is written not completed: the reset
//   still reaches the file at the next completed round, and the rounds it cleared
//   are not brought back from the file.
// - Every other round is written as the file has it, so the rounds other copies
//   completed (or reset) stay as they left them.
Progress merged_progress(const Progress& shown, const Progress& on_record, const Progress& on_disk);

}  // namespace tvk::game
