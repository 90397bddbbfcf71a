#include "game/deal_file.h"

#include <string>

#include "game/fragment_cuts.h"
#include "game/game_state.h"
#include "runtime/files/file_system.h"
#include "runtime/files/whole_file_write.h"

namespace tvk::game {

namespace {

// The tile's centre on the screen; tile positions already include the origin.
std::string tile_centre(const GameState& g, int32_t tile) {
    return std::to_string(static_cast<int32_t>(g.tile_positions(tile, 1)) + 42) + " " +
           std::to_string(static_cast<int32_t>(g.tile_positions(tile, 2)) + 22);
}

// The line of one answer: the word, then a free tile for each fragment in reading
// order (the opening, the middle pieces, the ending). Empty when a fragment is on
// no free tile, as for a word the round could not deal.
std::string word_line(const GameState& g, int32_t w, bool taken[kTileCount + 1]) {
    const RtString& word = g.answer_words(w);
    RtString pieces[kMaxFragments];
    const int32_t count = cut_word(word, pieces);
    if (count == 0) return "";
    int32_t order[kMaxFragments] = {0};
    for (int32_t i = 2; i < count; ++i) order[i - 1] = i;
    order[count - 1] = 1;
    std::string line(word.data, word.length);
    for (int32_t i = 0; i < count; ++i) {
        const RtString& piece = pieces[order[i]];
        int32_t tile = 0;
        for (int32_t t = 1; t <= kTileCount && tile == 0; ++t) {
            const RtString& text = g.tiles(t);
            if (!taken[t] && text.length == piece.length &&
                std::string(text.data, text.length) == std::string(piece.data, piece.length)) {
                tile = t;
            }
        }
        if (tile == 0) return "";
        taken[tile] = true;
        line += " " + tile_centre(g, tile);
    }
    return line;
}

}  // namespace

void write_deal_file() {
    const RtString path = get_env(RtString(kDealFileVariable));
    if (path.empty()) return;
    const GameState& g = game_state();
    bool taken[kTileCount + 1] = {};
    std::string text;
    for (int32_t w = 1; w <= kWordsPerRound; ++w) text += word_line(g, w, taken) + "\n";

    // A test hook: written beside and renamed over, so a reader never sees half of
    // it; a file that cannot be written is the test's to notice.
    write_file_whole(path.c_str(), text);
}

}  // namespace tvk::game
