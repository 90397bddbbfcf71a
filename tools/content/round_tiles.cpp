#include "tools/content/round_tiles.h"

#include <algorithm>

#include "game/content/word_cuts.h"

namespace tvk::content {

namespace {

void find_builds(const std::vector<Tile>& tiles, const std::string& target, size_t matched,
                 std::vector<size_t>& used, std::vector<std::vector<size_t>>& builds) {
    if (matched == target.size()) {
        if (!used.empty()) builds.push_back(used);
        return;
    }
    if (used.size() == static_cast<size_t>(kMaxPicks)) return;
    for (size_t t = 0; t < tiles.size(); ++t) {
        if (std::find(used.begin(), used.end(), t) != used.end()) continue;
        const std::string& text = tiles[t].text;
        if (text.empty() || target.compare(matched, text.size(), text) != 0) continue;
        used.push_back(t);
        find_builds(tiles, target, matched + text.size(), used, builds);
        used.pop_back();
    }
}

}  // namespace

std::vector<Tile> round_tiles(const PuzzleRound& round) {
    std::vector<Tile> tiles;
    for (size_t w = 0; w < round.words.size(); ++w) {
        for (const std::string& piece : game::fragments_of(round.words[w])) {
            tiles.push_back({piece, w});
        }
    }
    return tiles;
}

std::vector<std::vector<size_t>> builds_of(const std::vector<Tile>& tiles,
                                           const std::string& target) {
    std::vector<std::vector<size_t>> builds;
    std::vector<size_t> used;
    find_builds(tiles, target, 0, used, builds);
    return builds;
}

std::string spelled(const std::vector<Tile>& tiles, const std::vector<size_t>& build) {
    std::string text;
    for (size_t i = 0; i < build.size(); ++i) {
        if (i > 0) text += " + ";
        text += tiles[build[i]].text;
    }
    return text;
}

}  // namespace tvk::content
