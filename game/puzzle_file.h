#pragma once
// The puzzle file "gamedata.txt": for each round its clue and seven answer words,
// one enciphered line each, rounds 1 to 50 in order.

namespace tvk::game {

inline constexpr const char* kPuzzleFile = "gamedata.txt";
inline constexpr const char* kPuzzleKey = "plumb";

// Reads the puzzle file into the puzzle table. A missing file, or one that ends
// early, reads as empty lines: those clues and words stay empty.
void load_puzzles();

}  // namespace tvk::game
