#pragma once
// How hard the rounds are, block by block of ten, from two measures of each answer:
//   - its length in letters;
//   - how common it is: the size of the smallest SCOWL word list that holds it
//     (Debian package scowl, /usr/share/dict/scowl). SCOWL sorts English words
//     into lists of sizes 10, 20, 35, 40, 50, 55, 60, 70, 80 and 95 by how often
//     they are met, 10 holding the most common words ("apple"), 35 a small
//     dictionary, 50 a medium one ("muesli"), 70 a large one, 95 the rarest; a
//     word in none of them counts as 100. The English, British and proper-name
//     lists are read (not the American or Canadian ones).
// Both rise through the game: later rounds ask for longer and rarer words.
#include <map>
#include <string>
#include <vector>

#include "tools/content/puzzle_source.h"

namespace tvk::content {

inline constexpr const char* kDefaultLevelFolder = "/usr/share/dict/scowl";
inline constexpr int kUnlistedLevel = 100;
inline constexpr int kRoundsPerBlock = 10;

// Word (in capitals) -> the smallest SCOWL size that lists it.
using CommonnessLevels = std::map<std::string, int>;

// Reads the SCOWL lists of a folder; false with a reason when there are none.
bool load_commonness(const std::string& folder, CommonnessLevels& levels, std::string& error);

int commonness_of(const CommonnessLevels& levels, const std::string& word);

struct DifficultyBlock {
    int first_round = 0;
    int last_round = 0;
    int words = 0;
    double mean_length = 0;
    double mean_level = 0;  // mean SCOWL size of the answers
    int common_words = 0;   // answers in the lists of size 10 and 20
    int rare_words = 0;     // answers first listed at size 55 or beyond
};

std::vector<DifficultyBlock> difficulty_by_block(const std::vector<PuzzleRound>& rounds,
                                                 const CommonnessLevels& levels);

// Problems when a block is easier than the one before it, by either measure.
std::vector<std::string> check_difficulty_rises(const std::vector<DifficultyBlock>& blocks);

}  // namespace tvk::content
