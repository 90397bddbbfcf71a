#pragma once
// The puzzle file the game reads ("gamedata.txt"): per round the clue and then the
// seven answer words, one enciphered line each, 400 lines for 50 rounds.
#include <string>
#include <vector>

#include "tools/content/puzzle_source.h"

namespace tvk::content {

// The cipher key the game deciphers the puzzle file with.
inline constexpr const char* kPuzzleKey = "plumb";

// The plain lines of the file in order: clue, word 1, ..., word 7, next round.
std::vector<std::string> puzzle_lines(const std::vector<PuzzleRound>& rounds);

// The whole file: every line enciphered as hex, each ended by a line feed.
std::string encipher_puzzle_file(const std::vector<PuzzleRound>& rounds);

// Deciphers every line of a puzzle file (a carriage return before the line feed is
// allowed, as the game's line reading allows it).
std::vector<std::string> decipher_puzzle_file(const std::string& file_text);

}  // namespace tvk::content
