#include "game/screen_kit.h"

#include "game/game_state.h"
#include "runtime/core/frame_flip.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/input/input_commands.h"
#include "runtime/value/numeric_helpers.h"

namespace tvk::game {

void read_mouse() {
    GameState& g = game_state();
    mouse_state(g.mouse_x, g.mouse_y, g.mouse_left, g.mouse_right);
}

bool clicked_on_screen(double x, double y, double width, double height) {
    const GameState& g = game_state();
    return boxes_overlap(static_cast<int32_t>(g.mouse_x), static_cast<int32_t>(g.mouse_y), 1, 1,
                         static_cast<int32_t>(x), static_cast<int32_t>(y),
                         static_cast<int32_t>(width), static_cast<int32_t>(height)) != 0 &&
           g.mouse_left != 0;
}

bool clicked(double x, double y, double width, double height) {
    const GameState& g = game_state();
    return clicked_on_screen(g.origin_x + x, g.origin_y + y, width, height);
}

void draw_at(int32_t slot, double x, double y) {
    const GameState& g = game_state();
    draw_sprite(slot, static_cast<int32_t>(g.origin_x + x), static_cast<int32_t>(g.origin_y + y));
}

void print_at(const RtString& text, double x, double y) {
    const GameState& g = game_state();
    print_text(text, g.origin_x + x, g.origin_y + y, 1);
}

void print_centred(const RtString& text, double y) {
    print_at(text, 240 - text_width(text, 1) / 2, y);
}

void wait_for_release() {
    GameState& g = game_state();
    for (;;) {
        read_mouse();
        if (g.mouse_left == 0) return;
        wait_input_step();
    }
}

}  // namespace tvk::game
