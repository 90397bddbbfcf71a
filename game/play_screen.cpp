// Puzzle play: the seven answer words of a round are cut into 20 fragments dealt
// at random onto a 5 by 4 grid of tiles. The player picks up to four fragments to
// assemble a word and checks it; a right word is revealed, a wrong one returns
// its fragments to their tiles.
#include <cmath>
#include <cstdint>

#include "game/deal_file.h"
#include "game/fragment_cuts.h"
#include "game/game_state.h"
#include "game/progress_file.h"
#include "game/screen_kit.h"
#include "game/screens.h"
#include "runtime/audio/sound_commands.h"
#include "runtime/core/frame_flip.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/value/isaac_random.h"
#include "runtime/value/number_text.h"
#include "runtime/value/string_library.h"

namespace tvk::game {

namespace {

constexpr int32_t kWordRuleColour = 0x505050;

int32_t as_index(double n) { return static_cast<int32_t>(n); }

// A wrong word or a refused fifth pick shakes the assembly strip, so that the
// refusal shows with the sound off too: the text swings sideways in a sine that
// fades out, three swings in 15 frames (a quarter of a second at 60 frames a
// second). Counted in drawn frames, so every run draws the same offsets.
constexpr int32_t kShakeFrames = 15;
constexpr int32_t kShakeSwingFrames = 5;
constexpr double kShakeReach = 7;  // pixels at the first swing

void start_shake(GameState& g, const RtString& refused) {
    g.strip_shake = kShakeFrames;
    g.strip_refused = refused;
}

void stop_shake(GameState& g) {
    g.strip_shake = 0;
    g.strip_refused = RtString();
}

// The strip's sideways offset in this frame: 0 when it is not shaking.
int32_t shake_offset(double frames_left) {
    if (frames_left <= 0) return 0;
    const double elapsed = kShakeFrames - frames_left;
    const double reach = kShakeReach * frames_left / kShakeFrames;
    constexpr double kTurn = 6.283185307179586;
    const double swing = std::sin(kTurn * (elapsed + 1) / kShakeSwingFrames);
    return static_cast<int32_t>(std::lround(reach * swing));
}

// Puts every picked fragment back on the tile it came from, last pick first.
void return_picks(GameState& g) {
    while (g.picked_count > 0) {
        const int32_t pick = as_index(g.picked_count);
        g.tiles(as_index(g.picked_tiles(pick))) = g.picked_texts(pick);
        g.picked_texts(pick) = RtString();
        g.picked_count = g.picked_count - 1;
    }
}

void pick_tiles(GameState& g) {
    for (int32_t i = 1; i <= kTileCount; ++i) {
        if (!clicked_on_screen(g.tile_positions(i, 1), g.tile_positions(i, 2), 84, 45) ||
            g.tiles(i).empty()) {
            continue;
        }
        if (g.picked_count >= kMaxPicks) {
            // A fifth fragment is refused: the four picked ones shake.
            start_shake(g, RtString());
        } else {
            stop_shake(g);
            play_sound(1, 0, g.sound_volume);
            g.picked_count = g.picked_count + 1;
            const int32_t pick = as_index(g.picked_count);
            g.picked_texts(pick) = g.tiles(i);
            g.picked_tiles(pick) = i;
            g.tiles(i) = RtString();
            g.picked_texts(0) = string_concat(g.picked_texts(0), g.picked_texts(pick));
        }
    }
}

void undo_picks(GameState& g) {
    stop_shake(g);
    double sound = 2;
    if (g.picked_count > 0) {
        sound = 3;
        return_picks(g);
    }
    play_sound(sound, 0, g.sound_volume);
    g.picked_texts(0) = RtString();
}

void check_word(GameState& g) {
    stop_shake(g);
    const double before = g.found_count;
    double sound = 2;
    for (int32_t w = 1; w <= kWordsPerRound; ++w) {
        // An empty assembled text matches nothing: a round without words (no
        // puzzle file) cannot be won by checking with nothing picked.
        if (!g.picked_texts(0).empty() && string_equal(g.answer_words(w), g.picked_texts(0))) {
            g.found_count = g.found_count + 1;
            sound = 4;
            g.word_display(w) = g.picked_texts(0);
            g.word_font(w) = 2;
            g.picked_texts(0) = RtString();
            g.picked_count = 0;
        }
        if (g.found_count == kWordsPerRound) {
            sound = 5;
            g.progress(as_index(g.chosen_round)) = 1;
            g.screen_state = kStateRoundWon;
        }
    }
    if (g.found_count == before && g.picked_count > 0) {
        sound = 3;
        start_shake(g, g.picked_texts(0));
        return_picks(g);
        g.picked_texts(0) = RtString();
    }
    play_sound(sound, 0, g.sound_volume);
}

}  // namespace

void setup_round() {
    GameState& g = game_state();
    const int32_t round = as_index(g.chosen_round);
    for (int32_t w = 1; w <= kWordsPerRound; ++w) {
        g.answer_words(w) = g.puzzle_table(round, w);
        RtString hidden;
        for (uint32_t c = 0; c < g.answer_words(w).length; ++c) string_append(hidden, "?");
        g.word_display(w) = hidden;
        g.word_font(w) = 6;
    }
    int32_t n = 1;
    for (int32_t w = 1; w <= kWordsPerRound; ++w) {
        RtString pieces[4];
        const int32_t count = cut_word(g.answer_words(w), pieces);
        for (int32_t p = 0; p < count && n <= kTileCount; ++p) g.tiles(n++) = pieces[p];
    }
    for (int32_t swap = 0; swap < 21; ++swap) {
        const int32_t a = random_int(19) + 1;
        const int32_t b = random_int(19) + 1;
        if (a == b) continue;
        RtString kept = g.tiles(a);
        g.tiles(a) = g.tiles(b);
        g.tiles(b) = kept;
    }
    g.found_count = 0;
    g.picked_count = 0;
    for (int32_t i = 0; i <= kMaxPicks; ++i) {
        g.picked_texts(i) = RtString();
        g.picked_tiles(i) = 0;
    }
    g.background = random_int(5) + 1;
    stop_shake(g);
}

void play_input() {
    GameState& g = game_state();
    pick_tiles(g);
    if (clicked(16, 580, 98, 40)) undo_picks(g);
    if (clicked(365, 580, 98, 40)) check_word(g);
    if (clicked(0, 0, 50, 50)) {
        // The round is left without being recorded.
        g.found_count = kWordsPerRound;
        g.screen_state = kStateRoundSelect;
        wait_for_release();
    }
    if (clicked(430, 0, 50, 50)) farewell();
    wait_for_release();
}

void draw_play_screen() {
    GameState& g = game_state();
    draw_at(as_index(g.background), 0, 0);
    draw_at(99, 16, 580);
    draw_at(98, 365, 580);
    draw_at(96, 430, 10);
    draw_at(95, 10, 10);
    set_font(2);
    print_centred(string_concat("ROUND ", float_to_text(g.chosen_round)), 28);
    for (int32_t w = 1; w <= kWordsPerRound; ++w) {
        set_font(as_index(g.word_font(w)));
        print_at(string_concat(string_concat(float_to_text(w), ". "), g.word_display(w)), 160,
                 60 + 28 * w);
        const auto y = static_cast<int32_t>(g.origin_y + 80 + 28 * w);
        draw_line(static_cast<int32_t>(g.origin_x + 155), y, static_cast<int32_t>(g.origin_x + 320),
                  y, kWordRuleColour);
    }
    set_font(3);
    const RtString find = string_concat(
        string_concat(string_concat("FIND ", float_to_text(kWordsPerRound - g.found_count)), " "),
        g.puzzle_table(as_index(g.chosen_round), 0));
    print_centred(find, 318);
    set_font(5);
    for (int32_t i = 1; i <= kTileCount; ++i) {
        const RtString& fragment = g.tiles(i);
        print_text(fragment, g.tile_positions(i, 1) + 42 - text_width(fragment, 1) / 2,
                   g.tile_positions(i, 2) + 11, 1);
    }
    set_font(2);
    // While the strip shakes after a wrong word, it still shows that word.
    const RtString& strip = g.picked_texts(0).empty() ? g.strip_refused : g.picked_texts(0);
    print_at(strip, 240 - text_width(strip, 1) / 2 + shake_offset(g.strip_shake), 588);
    if (g.strip_shake > 0) g.strip_shake = g.strip_shake - 1;
    if (g.strip_shake == 0) g.strip_refused = RtString();
}

void play_loop() {
    GameState& g = game_state();
    write_deal_file();
    for (;;) {
        read_mouse();
        play_input();
        draw_play_screen();
        flip_screen();
        set_alpha_mode(-1);
        if (g.found_count == kWordsPerRound) {
            if (g.screen_state == kStateRoundWon) round_won_sequence();
            g.screen_state = kStateRoundSelect;
            return;
        }
    }
}

void round_won_sequence() {
    const GameState& g = game_state();
    const auto x = static_cast<int32_t>(g.origin_x + 63);
    const auto y = static_cast<int32_t>(g.origin_y + 70);
    save_progress();
    double s = 0;
    do {
        draw_sprite_zoomed(89, x, y, s, s);
        flip_screen();
        s = s + 0.04;
    } while (s <= 1.5);
    s = 1.5;
    do {
        draw_sprite_zoomed(89, x, y, s, s);
        flip_screen();
        s = s - 0.04;
    } while (s >= 1);
    for (int32_t i = 0; i < 100; ++i) {
        draw_sprite(89, x, y);
        flip_screen();
    }
}

}  // namespace tvk::game
