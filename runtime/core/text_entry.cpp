#include "runtime/core/text_entry.h"

#include <utility>

#include "runtime/core/frame_flip.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/input/input_device.h"
#include "runtime/value/number_text.h"

namespace tvk {

bool text_entry_take(TextEntry& entry, uint8_t c) {
    switch (c) {
        case 10:
        case 13:
            return true;
        case 8:
            if (!entry.text.empty()) string_truncate(entry.text, static_cast<int32_t>(entry.text.length) - 1);
            return false;
        case 0:
            if (++entry.empty_passes > kCursorBlinkPasses) {
                entry.cursor_shown = !entry.cursor_shown;
                entry.empty_passes = 0;
            }
            return false;
        default:
            string_append_char(entry.text, static_cast<char>(c));
            return false;
    }
}

void draw_text_entry(const TextEntry& entry, double x, double y, int32_t proportional) {
    if (OpenGLRainbows* device = graphics_device()) draw_background(*device, kTextEntryBackground);
    if (entry.cursor_shown) {
        print_text(string_concat(entry.text, "_"), x, y, proportional);
    } else {
        print_text(entry.text, x, y, proportional);
    }
}

void input_text(RtString& variable, double x, double y, int32_t proportional) {
    OpenGLRainbows* device = graphics_device();
    // Typed characters reach the queue only through a window's frame flips; without
    // the input object and a window no Enter could ever end the wait.
    if (!device || !device->display.window || !input_device()) return;
    grab_background(*device, kTextEntryBackground);
    TextEntry entry;
    entry.text = variable;
    // The first frame shows the line as the later ones do, so it does not jump
    // when the first key arrives.
    draw_text_entry(entry, x, y, proportional);
    flip_screen();
    for (;;) {
        poll_keyboard();
        if (text_entry_take(entry, pop_typed_char())) break;
        draw_text_entry(entry, x, y, proportional);
        flip_screen();
    }
    free_background(*device, kTextEntryBackground);
    variable = std::move(entry.text);
}

void input_number(int32_t& value, double x, double y, int32_t proportional) {
    RtString typed;
    input_text(typed, x, y, proportional);
    value = text_to_int(typed);
}

void input_number(double& value, double x, double y, int32_t proportional) {
    RtString typed;
    input_text(typed, x, y, proportional);
    value = text_to_float(typed);
}

}  // namespace tvk
