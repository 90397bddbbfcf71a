#include "game/game_state.h"

namespace tvk::game {

GameState& game_state() {
    static GameState state;
    return state;
}

void reset_game_state(GameState& g) {
    g.chosen_round = 0;
    g.round_count = 50;
    g.screen_state = kStateOptions;
    g.sound_volume = 1;
    g.origin_x = g.origin_y = 0;
    g.picked_count = g.found_count = 0;
    g.mouse_x = g.mouse_y = g.mouse_left = g.mouse_right = 0;
    g.music_file = "music.wav";
    g.strip_shake = 0;
    g.strip_refused = RtString();
    array_dim(g.puzzle_table, kRoundRows, kWordsPerRound + 1);
    array_dim(g.progress, kRoundRows);
    array_dim(g.answer_words, kWordsPerRound + 1);
    array_dim(g.word_display, kWordsPerRound + 1);
    array_dim(g.word_font, kWordsPerRound + 1);
    array_dim(g.tiles, kTileCount + 1);
    array_dim(g.tile_positions, kTileCount + 1, 3);
    array_dim(g.picked_texts, kMaxPicks + 1);
    array_dim(g.picked_tiles, kMaxPicks + 1);
}

}  // namespace tvk::game
