#pragma once
// How an answer word is cut into the fragments dealt onto the tiles, by the word's
// length alone: the opening, the ending, then the middle pieces left to right.
//
//   length  4: AB CD            7: AB FG CDE          10: AB IJ CDE FGH
//           5: AB CDE           8: AB GH CD EF
//           6: AB EF CD         9: ABC GHI DEF
//
// Words of any other length give no fragments and can never be assembled. Seven
// words of a round must give exactly 20 fragments, one per tile.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tvk::game {

inline constexpr int32_t kMaxFragments = 4;

// One fragment: where it starts in the word and how many characters it takes.
struct Fragment {
    int32_t start = 0;
    int32_t length = 0;
};

// The fragments of a word of some length, in the order they are dealt.
struct WordCut {
    int32_t count = 0;  // 0 for a length outside 4..10
    Fragment fragments[kMaxFragments] = {};
};

WordCut word_cut(size_t length);

// Number of fragments a word of this length gives (0, 2, 3 or 4).
int32_t fragment_count(size_t length);

// The fragment texts of a word, in dealing order; none for a length outside 4..10.
std::vector<std::string> fragments_of(const std::string& word);

}  // namespace tvk::game
