#pragma once
// The readable source of the game's rounds (tools/content/rounds.txt):
//
//   # a comment
//   round 1: FRUIT
//       APPLE LEMON BANANA CHERRY ORANGE APRICOT STRAWBERRY
//
// A "round N: CLUE" line starts a round; the words follow on the next lines,
// separated by spaces. Rounds are numbered 1, 2, 3, ... in order. The text is
// taken as written: the checks decide what is acceptable.
#include <string>
#include <vector>

namespace tvk::content {

struct PuzzleRound {
    int number = 0;  // as written in the header; numbers out of order are a problem
    int line = 0;    // line of the "round" header in the source
    std::string clue;
    std::vector<std::string> words;
};

struct PuzzleSource {
    std::vector<PuzzleRound> rounds;
    std::vector<std::string> problems;  // layout faults, each naming its line
};

PuzzleSource parse_puzzle_source(const std::string& text);

}  // namespace tvk::content
