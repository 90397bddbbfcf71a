#include "game/fragment_cuts.h"

#include <algorithm>

#include "runtime/value/string_library.h"

namespace tvk::game {

namespace {

// One row of the cut table: the opening's length, how far from the end the ending
// starts, and up to two middle pieces as (start, length).
struct CutRule {
    int32_t opening;
    int32_t ending_from_end;
    int32_t middle_count;
    int32_t middle[2][2];
};

constexpr CutRule kCuts[] = {
    {2, 2, 0, {{0, 0}, {0, 0}}},  // 4 letters
    {2, 3, 0, {{0, 0}, {0, 0}}},  // 5
    {2, 2, 1, {{2, 2}, {0, 0}}},  // 6
    {2, 2, 1, {{2, 3}, {0, 0}}},  // 7
    {2, 2, 2, {{2, 2}, {4, 2}}},  // 8
    {3, 3, 1, {{3, 3}, {0, 0}}},  // 9
    {2, 2, 2, {{2, 3}, {5, 3}}},  // 10
};

}  // namespace

int32_t cut_word(const RtString& word, RtString out[4]) {
    const auto length = static_cast<int32_t>(word.length);
    if (length < 4 || length > 10) return 0;
    const CutRule& rule = kCuts[length - 4];
    int32_t n = 0;
    out[n++] = string_mid(word, 0, rule.opening);
    out[n++] = string_mid(word, std::max(0, length - rule.ending_from_end), -1);
    for (int32_t m = 0; m < rule.middle_count; ++m) {
        out[n++] = string_mid(word, rule.middle[m][0], rule.middle[m][1]);
    }
    return n;
}

}  // namespace tvk::game
