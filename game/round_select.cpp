// Round selection: the 50 rounds as a grid of numbered buttons, 5 columns by 10
// rows, round c + 5k in column c and row k, with a marker on every completed round.
#include "game/game_state.h"
#include "game/screen_kit.h"
#include "game/screens.h"
#include "runtime/audio/sound_commands.h"
#include "runtime/core/frame_flip.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/value/number_text.h"

namespace tvk::game {

void round_select_frame() {
    GameState& g = game_state();
    g.chosen_round = 0;
    set_font(2);
    draw_at(9, 0, 0);
    draw_at(96, 430, 10);
    draw_at(95, 10, 10);
    print_centred("CHOOSE A ROUND TO PLAY", 88);
    read_mouse();
    for (int32_t c = 1; c <= 5; ++c) {
        for (int32_t k = 0; k <= 9; ++k) {
            if (clicked(85 * c - 53, 130 + 50 * k, 76, 38)) g.chosen_round = c + 5 * k;
        }
        for (int32_t k = 0; k <= 9; ++k) {
            if (g.progress(c + 5 * k) != 0) draw_at(97, 85 * c - 13, 133 + 50 * k);
        }
        set_font(1);
        for (int32_t k = 0; k <= 9; ++k) {
            print_at(string_concat(float_to_text(c + 5 * k), "."), 85 * c - 40, 140 + 50 * k);
        }
    }
    if (clicked(0, 0, 50, 50)) g.screen_state = kStateOptions;
    if (clicked(430, 0, 50, 50)) farewell();
    flip_screen();
    set_alpha_mode(-1);
    if (g.chosen_round > 0 && g.screen_state != kStateLeave) {
        g.screen_state = kStatePlaying;
        wait_for_release();
        play_sound(6, 0, g.sound_volume);
    }
}

}  // namespace tvk::game
