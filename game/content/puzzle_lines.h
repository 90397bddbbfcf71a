#pragma once
// The line format of the puzzle file "gamedata.txt": 400 lines, for each of the 50
// rounds its clue and then its seven answer words, each line the text enciphered
// under the key "plumb" and written as hex (two digits a byte, upper or lower case
// read alike), ended by a line feed with an optional carriage return before it.
#include <string>
#include <vector>

namespace tvk::game {

inline constexpr const char* kPuzzleKey = "plumb";
inline constexpr int kPuzzleRounds = 50;
inline constexpr int kPuzzleLinesPerRound = 8;  // the clue and seven words

// One line's hex text (without its line end) and back. Deciphering accepts any
// text: what is not hex reads as the cipher's own decoding makes of it.
std::string encipher_puzzle_line(const std::string& plain);
std::string decipher_puzzle_line(const std::string& hex);

// A whole file: every line enciphered and ended by a line feed.
std::string encipher_puzzle_file(const std::vector<std::string>& lines);
// Every line of a file deciphered; a carriage return before a line feed is dropped.
std::vector<std::string> decipher_puzzle_file(const std::string& file_text);

}  // namespace tvk::game
