#include "tools/content/dictionary_pass.h"

#include <algorithm>
#include <map>

#include "tools/content/round_tiles.h"
#include "tools/content/word_list.h"

namespace tvk::content {

namespace {

struct Search {
    const std::vector<Tile>& tiles;
    const std::vector<std::string>& word_list;
    std::vector<bool> used;
    std::vector<std::string> picked;
    std::map<std::string, std::string> found;  // word -> how it was assembled

    // Extends the text by every unused tile while some listed word starts with it.
    void extend(const std::string& text) {
        if (!text.empty() && std::binary_search(word_list.begin(), word_list.end(), text) &&
            !found.count(text)) {
            std::string assembled;
            for (const std::string& piece : picked) {
                assembled += (assembled.empty() ? "" : " + ") + piece;
            }
            found.emplace(text, assembled);
        }
        if (picked.size() == static_cast<size_t>(kMaxPicks)) return;
        for (size_t t = 0; t < tiles.size(); ++t) {
            if (used[t]) continue;
            const std::string next = text + tiles[t].text;
            if (!has_prefix(word_list, next)) continue;
            used[t] = true;
            picked.push_back(tiles[t].text);
            extend(next);
            picked.pop_back();
            used[t] = false;
        }
    }
};

}  // namespace

std::vector<SpelledWord> words_spelled(const PuzzleRound& round,
                                       const std::vector<std::string>& word_list) {
    const std::vector<Tile> tiles = round_tiles(round);
    Search search{tiles, word_list, std::vector<bool>(tiles.size(), false), {}, {}};
    search.extend("");
    std::vector<SpelledWord> spelled_words;
    for (const auto& [word, assembled] : search.found) {
        if (std::find(round.words.begin(), round.words.end(), word) != round.words.end()) continue;
        spelled_words.push_back({word, assembled});
    }
    return spelled_words;
}

std::vector<std::string> check_answers_listed(const std::vector<PuzzleRound>& rounds,
                                              const std::vector<std::string>& word_list) {
    std::vector<std::string> problems;
    for (const PuzzleRound& round : rounds) {
        for (const std::string& word : round.words) {
            if (!std::binary_search(word_list.begin(), word_list.end(), word)) {
                problems.push_back("round " + std::to_string(round.number) + ": \"" + word +
                                   "\" is not in the word list; check its spelling (British)");
            }
        }
    }
    return problems;
}

}  // namespace tvk::content
