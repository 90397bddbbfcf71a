#pragma once
// The readable source of the game's rounds (tools/content/rounds.txt):
//
//   # a comment
//   round 1: FRUIT
//       APPLE LEMON BANANA CHERRY ORANGE APRICOT STRAWBERRY
//       others: PEAR PLUM PEACH LIME MANGO
//               MELON GRAPE ...
//
// A "round N: CLUE" line starts a round; its seven answer words follow on the next
// lines, separated by spaces. An "others:" line starts the round's category list:
// the other words a player could reasonably offer for the clue, which the tiles
// must not spell (that line and the lines after it, up to the next round). Rounds
// are numbered 1, 2, 3, ... in order. The text is taken as written: the checks
// decide what is acceptable.
#include <string>
#include <vector>

namespace tvk::content {

struct PuzzleRound {
    int number = 0;  // as written in the header; numbers out of order are a problem
    int line = 0;    // line of the "round" header in the source
    std::string clue;
    std::vector<std::string> words;
    std::vector<std::string> others;  // words that belong to the clue but are not answers
};

struct PuzzleSource {
    std::vector<PuzzleRound> rounds;
    std::vector<std::string> problems;  // layout faults, each naming its line
};

inline constexpr const char* kOthersLabel = "others:";

PuzzleSource parse_puzzle_source(const std::string& text);

// The plain lines of the puzzle file in order: clue, word 1, ..., word 7, next round.
std::vector<std::string> puzzle_lines(const std::vector<PuzzleRound>& rounds);

}  // namespace tvk::content
