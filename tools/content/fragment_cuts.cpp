#include "tools/content/fragment_cuts.h"

namespace tvk::content {

namespace {

// One row of the cut table: the opening's length, how far from the end the
// ending starts, and the middle pieces as (start, length).
struct CutRule {
    size_t opening;
    size_t ending_from_end;
    size_t middle_count;
    size_t middle[2][2];
};

const CutRule* rule_for(size_t length) {
    static const CutRule kRules[] = {
        {2, 2, 0, {{0, 0}, {0, 0}}},  // 4
        {2, 3, 0, {{0, 0}, {0, 0}}},  // 5
        {2, 2, 1, {{2, 2}, {0, 0}}},  // 6
        {2, 2, 1, {{2, 3}, {0, 0}}},  // 7
        {2, 2, 2, {{2, 2}, {4, 2}}},  // 8
        {3, 3, 1, {{3, 3}, {0, 0}}},  // 9
        {2, 2, 2, {{2, 3}, {5, 3}}},  // 10
    };
    if (length < 4 || length > 10) return nullptr;
    return &kRules[length - 4];
}

}  // namespace

std::vector<std::string> cut_word(const std::string& word) {
    const CutRule* rule = rule_for(word.size());
    if (rule == nullptr) return {};
    std::vector<std::string> pieces;
    pieces.push_back(word.substr(0, rule->opening));
    size_t ending = word.size() >= rule->ending_from_end ? word.size() - rule->ending_from_end : 0;
    pieces.push_back(word.substr(ending));
    for (size_t m = 0; m < rule->middle_count; ++m) {
        pieces.push_back(word.substr(rule->middle[m][0], rule->middle[m][1]));
    }
    return pieces;
}

int fragment_count(size_t length) {
    const CutRule* rule = rule_for(length);
    return rule == nullptr ? 0 : static_cast<int>(2 + rule->middle_count);
}

}  // namespace tvk::content
