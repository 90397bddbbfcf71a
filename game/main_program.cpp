// SplitVerse's main routine: the state, the layout, the media and the two data
// files (loaded in stages, start_loading.h) and the loop that moves between the
// screens.
#include <cstdint>

#include "game/game_state.h"
#include "game/screens.h"
#include "game/start_loading.h"
#include "runtime/audio/music.h"
#include "runtime/core/entry.h"
#include "runtime/core/screen_mode.h"
#include "runtime/files/file_system.h"
#include "runtime/files/platform_info.h"
#include "runtime/gfx/display_commands.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/input/input_commands.h"
#include "runtime/value/program_settings.h"
#include "runtime/value/string_library.h"

namespace tvk::game {

namespace {

bool is_handheld() {
    RtString key = "DEVICE";
    const RtString device = platform_info(key);
    return device == "KEYBOARD" || device == "TOUCHSCREEN";
}

// On a handheld device the play area is centred on the (portrait) screen and the
// music is the compressed piece; on a desktop the area stays at (0, 0).
void choose_layout_and_music() {
    GameState& g = game_state();
    g.music_file = "music.wav";
    if (is_handheld()) {
        g.music_file = "music.ogg";
        set_screen_mode(9000, 9000, 0);
        int32_t w = 0, h = 0;
        get_screen_size(w, h);
        if (h < w) {
            set_orientation(0);
            const int32_t t = w;
            w = h;
            h = t;
        }
        g.origin_x = static_cast<float>(w - 480) * 0.5f;
        g.origin_y = static_cast<float>(h - 640) * 0.5f;
    }
    for (int32_t c = 1; c <= 5; ++c) {
        for (int32_t k = 0; k <= 3; ++k) {
            const int32_t i = c + 5 * k;
            g.tile_positions(i, 1) = g.origin_x + 94 * c - 84;
            g.tile_positions(i, 2) = g.origin_y + 360 + 55 * k;
        }
    }
}

}  // namespace

void run_game() {
    GameState& g = game_state();
    reset_game_state(g);
    set_current_directory("Media");
    choose_layout_and_music();
    // The options screen's media and the progress file now; the rest while the
    // options screen runs, and at the latest before another screen is shown.
    load_first_screen();
    set_alpha_mode(-1);
    show_mouse_pointer(1);
    while (g.screen_state != kStateLeave) {
        if (g.screen_state == kStateOptions) {
            options_screen();
        } else if (g.screen_state == kStateRoundSelect) {
            finish_loading();
            stop_music();
            round_select_frame();
            setup_round();
        } else if (g.screen_state == kStatePlaying) {
            play_loop();
        }
    }
    farewell();
}

}  // namespace tvk::game

namespace tvk {

void program_main() { game::run_game(); }

}  // namespace tvk
