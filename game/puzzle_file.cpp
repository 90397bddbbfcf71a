#include "game/puzzle_file.h"

#include <string>

#include "game/game_state.h"
#include "runtime/files/channels.h"

namespace tvk::game {

namespace {

constexpr int32_t kChannel = 1;

// The next line deciphered; the empty text once the file has run out, where a plain
// line read would end the program.
RtString next_line(bool open) {
    if (!open || channel_at_end(kChannel) != 0) return RtString();
    const RtString line = channel_read_line(kChannel);
    // A deciphered text ends at its first zero byte, so c_str() holds all of it.
    return decipher_puzzle_line(std::string(line.data, line.length)).c_str();
}

}  // namespace

void load_puzzles() {
    GameState& g = game_state();
    const bool open = channel_open(kChannel, kPuzzleFile, 1) != 0;
    const auto rounds = static_cast<int32_t>(g.round_count);
    for (int32_t r = 1; r <= rounds; ++r) {
        g.puzzle_table(r, 0) = next_line(open);
        for (int32_t w = 1; w <= kWordsPerRound; ++w) g.puzzle_table(r, w) = next_line(open);
    }
    if (open) channel_close(kChannel);
}

}  // namespace tvk::game
