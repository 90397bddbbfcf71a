#pragma once
// The line format of the progress file "moredata.txt": 51 digits enciphered under
// the key "keepsake" and written as hex. Digit i is the text of progress value i,
// 1 once round i has been completed, 0 otherwise; digit 0 stands for no round and
// is always 0. How and where the line is stored is the game's progress file's own
// business; this is only the text.
#include <array>
#include <span>
#include <string>

namespace tvk::game {

inline constexpr const char* kProgressKey = "keepsake";
inline constexpr int kProgressDigits = 51;

// The enciphered line of the progress values 0..50: each value's number text,
// concatenated (so one digit each while every value is 0 or 1). Values beyond the
// span's end count as 0.
std::string progress_line(std::span<const double> progress);

// The values read back from a line: character i of the deciphered text read as a
// number; a missing or unreadable character gives 0.
std::array<double, kProgressDigits> progress_from_line(const std::string& line);

}  // namespace tvk::game
