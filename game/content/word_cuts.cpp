#include "game/content/word_cuts.h"

namespace tvk::game {

namespace {

// One row per length from 4 to 10: the opening's length, how far from the end the
// ending starts (it runs to the end), and the middle pieces as (start, length).
struct CutRule {
    int32_t opening;
    int32_t ending_from_end;
    int32_t middle_count;
    Fragment middle[2];
};

constexpr CutRule kRules[] = {
    {2, 2, 0, {}},                  // 4
    {2, 3, 0, {}},                  // 5
    {2, 2, 1, {{2, 2}}},            // 6
    {2, 2, 1, {{2, 3}}},            // 7
    {2, 2, 2, {{2, 2}, {4, 2}}},    // 8
    {3, 3, 1, {{3, 3}}},            // 9
    {2, 2, 2, {{2, 3}, {5, 3}}},    // 10
};

}  // namespace

WordCut word_cut(size_t length) {
    WordCut cut;
    if (length < 4 || length > 10) return cut;
    const CutRule& rule = kRules[length - 4];
    const auto size = static_cast<int32_t>(length);
    cut.fragments[cut.count++] = {0, rule.opening};
    cut.fragments[cut.count++] = {size - rule.ending_from_end, rule.ending_from_end};
    for (int32_t m = 0; m < rule.middle_count; ++m) cut.fragments[cut.count++] = rule.middle[m];
    return cut;
}

int32_t fragment_count(size_t length) { return word_cut(length).count; }

std::vector<std::string> fragments_of(const std::string& word) {
    const WordCut cut = word_cut(word.size());
    std::vector<std::string> pieces;
    for (int32_t i = 0; i < cut.count; ++i) {
        const Fragment& f = cut.fragments[i];
        pieces.push_back(word.substr(static_cast<size_t>(f.start), static_cast<size_t>(f.length)));
    }
    return pieces;
}

}  // namespace tvk::game
