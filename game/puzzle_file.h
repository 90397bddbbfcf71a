#pragma once
// The puzzle file "gamedata.txt": for each round its clue and seven answer words,
// one enciphered line each, rounds 1 to 50 in order (the line format is
// game/content/puzzle_lines.h).
#include "game/content/puzzle_lines.h"

namespace tvk::game {

inline constexpr const char* kPuzzleFile = "gamedata.txt";

// Reads the puzzle file into the puzzle table. A missing file, or one that ends
// early, reads as empty lines: those clues and words stay empty.
void load_puzzles();

}  // namespace tvk::game
