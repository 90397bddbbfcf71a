#pragma once
// The dictionary pass: every word of the word list that a round's tiles spell
// besides its answers. A player who assembles one of them and presses Check sees
// it refused, so the list is read against the round's others: list (the words that
// belong to its clue); the check fails a round whose tiles spell one of those.
#include <string>
#include <vector>

#include "tools/content/puzzle_source.h"

namespace tvk::content {

struct SpelledWord {
    std::string word;
    std::string assembled;  // the tiles that spell it, e.g. "BE + RRY"
};

// Every word of the sorted word list that 1 to 4 of the round's tiles spell, in the
// list's order, answers left out; each word once, with one way to assemble it.
std::vector<SpelledWord> words_spelled(const PuzzleRound& round,
                                       const std::vector<std::string>& word_list);

// Answers that are not words of the list: a misspelling, or a spelling the British
// list does not hold (COLOR, THEATER). One problem line each.
std::vector<std::string> check_answers_listed(const std::vector<PuzzleRound>& rounds,
                                              const std::vector<std::string>& word_list);

}  // namespace tvk::content
