// The options screen (the first screen), the information page it opens, and the
// farewell that every close button leads to.
#include <cstdint>

#include <tavrick/version.h>

#include "game/game_state.h"
#include "game/screen_kit.h"
#include "game/screens.h"
#include "game/start_loading.h"
#include "runtime/audio/music.h"
#include "runtime/core/frame_flip.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/value/error_state.h"

namespace tvk::game {

namespace {

struct InfoLine {
    double y;
    const char* text;
};

constexpr InfoLine kInfoLines[] = {
    {70, "In each round simply reassemble the split words"},
    {90, "to spell out the seven related words described"},
    {110, "in the clue."},
    {140, "This relaxing diversion is free from any scores,"},
    {160, "penalties or time limits."},
    {190, "Progress is saved on completion of each level."},
    {230, "Enjoy."},
    {470, "SplitVerse"},
    {490, "version 000.001"},
    {520, "Made with the Tavrick runtime"},
    {540, "runtime version " TAVRICK_VERSION},
    {570, "Pictures, fonts and sounds"},
    {590, "made for SplitVerse"},
};

int32_t rgb(int32_t red, int32_t green, int32_t blue) { return red | green << 8 | blue << 16; }

// The page's background: one quad over the play area whose corner colours drift.
void draw_colour_quad(double u, double v) {
    const GameState& g = game_state();
    const int32_t U = static_cast<int32_t>(u) & 0xFF;
    const int32_t V = static_cast<int32_t>(v) & 0xFF;
    const double x = g.origin_x, y = g.origin_y;
    start_polyvector(-1, 0);
    add_polyvector_vertex(x, y, 0, 0, rgb(U, V, V));
    add_polyvector_vertex(x, y + 640, 0, 0, rgb(V, U, U));
    add_polyvector_vertex(x + 480, y + 640, 0, 0, rgb(V, V, U));
    add_polyvector_vertex(x + 480, y, 0, 0, rgb(V, V, U));
    end_polyvector();
}

}  // namespace

void options_screen() {
    GameState& g = game_state();
    if (music_playing() == 0 && g.sound_volume == 1) play_music(g.music_file, 1);
    while (g.screen_state == kStateOptions) {
        draw_at(10, 0, 0);
        draw_at(96, 430, 10);
        draw_at(92, 10, 590);
        draw_at(static_cast<int32_t>(93 + g.sound_volume), 430, 590);
        read_mouse();
        if (clicked(0, 590, 50, 50)) {
            information_page();
            wait_for_release();
        }
        if (clicked(430, 590, 50, 50)) {
            if (g.sound_volume == 0) {
                g.sound_volume = 1;
                play_music(g.music_file, 1);
            } else if (g.sound_volume == 1) {
                g.sound_volume = 0;
                stop_music();
            }
            wait_for_release();
        }
        if (clicked(430, 0, 50, 50)) farewell();
        if (clicked(80, 320, 140, 140)) g.screen_state = kStateRoundSelect;
        if (clicked(270, 300, 140, 140)) {
            // Only the markers: the file keeps the old progress until the next
            // completed round rewrites it.
            for (int32_t r = 1; r < kRoundRows; ++r) g.progress(r) = 0;
            g.screen_state = kStateRoundSelect;
        }
        flip_screen();
        set_alpha_mode(-1);
        load_next_piece();
    }
    wait_for_release();
}

void information_page() {
    finish_loading();
    set_font(1);
    double u = 10, v = 80, du = 1, dv = -1;
    for (;;) {
        u = u + du / 7;
        v = v - dv / 7;
        if (u > 100 || u < 0) du = -du;
        if (v > 100 || v < 0) dv = -dv;
        draw_colour_quad(u, v);
        read_mouse();
        set_alpha_mode(1);
        for (const InfoLine& line : kInfoLines) print_at(line.text, 25, line.y);
        set_alpha_mode(-1);
        draw_at(96, 430, 10);
        draw_at(95, 10, 10);
        draw_at(90, 90, 252);
        const bool leave = clicked(0, 0, 50, 50);
        if (clicked(430, 0, 50, 50)) farewell();
        flip_screen();
        if (leave) return;
    }
}

void farewell() {
    finish_loading();
    set_font(2);
    double a = 1;
    do {
        set_alpha_mode(a);
        print_centred("GOODBYE", 310);
        flip_screen();
        a = a - 0.006;
    } while (a >= 0);
    end_program();
}

}  // namespace tvk::game
