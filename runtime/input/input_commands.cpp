#include "runtime/input/input_commands.h"

#include <algorithm>
#include <cmath>

#include "runtime/input/input_device.h"
#include "runtime/input/orientation.h"
#include "runtime/platform/window.h"
#include "runtime/value/numeric_helpers.h"

namespace tvk {

namespace {

ScreenFrame screen_frame(const InputDevice& input) {
    int32_t width = 0, height = 0;
    if (input.window) platform::window_client_size(input.window, width, height);
    return current_screen_frame(width, height);
}

MouseRecord& record_of(InputDevice& input) {
    const auto index = static_cast<size_t>(input.current_mouse);
    return input.mouse_records[index < input.mouse_records.size() ? index : 0];
}

}  // namespace

int32_t key_down(double code) {
    InputDevice* input = input_device();
    if (!input) return 0;
    if (++input->key_query_counter > 128) {
        input->key_query_counter = 0;
        poll_keyboard();
    }
    return input_key_state(static_cast<uint8_t>(to_int(code) & 255)) ? 1 : 0;
}

RtString get_typed_key() {
    const uint8_t c = pop_typed_char();
    if (c == 0) return RtString("");
    const char text[2] = {static_cast<char>(c), 0};
    return RtString(text);
}

void mouse_state(int32_t& x, int32_t& y, int32_t& left, int32_t& right) {
    x = y = left = right = 0;
    InputDevice* input = input_device();
    if (!input) return;
    const MouseSample sample = read_mouse(true);
    left = sample.left;
    right = sample.right;
    MouseRecord& r = record_of(*input);
    const ScreenFrame frame = screen_frame(*input);
    int32_t width = 0, height = 0;
    logical_size(frame, width, height);
    window_to_logical(frame, r.previous_x, r.previous_y, x, y);
    const int32_t cx = std::clamp(x, 0, std::max(width, 0));
    const int32_t cy = std::clamp(y, 0, std::max(height, 0));
    // A clamped point goes back into the record; one inside the screen leaves it as
    // it is, since a scaled window has several pixels for each logical one.
    if (cx != x || cy != y) logical_to_window(frame, cx, cy, r.previous_x, r.previous_y);
    x = cx;
    y = cy;
}

void mouse_state(double& x, double& y, double& left, double& right) {
    int32_t ix = 0, iy = 0, il = 0, ir = 0;
    mouse_state(ix, iy, il, ir);
    x = ix;
    y = iy;
    left = il;
    right = ir;
}

int32_t mouse_axis(double n) {
    InputDevice* input = input_device();
    if (!input) return 0;
    const MouseSample sample = read_mouse(false);
    switch (to_int(n)) {
        case 0:
        case 1: {
            // The motion in logical pixels, turned as the screen is: how far the
            // logical point moved, from where the last commit left the mouse.
            const ScreenFrame frame = screen_frame(*input);
            const MouseRecord& r = record_of(*input);
            int32_t ox = 0, oy = 0, mx = 0, my = 0;
            window_to_logical(frame, r.previous_x, r.previous_y, ox, oy);
            window_to_logical(frame, r.previous_x + sample.dx, r.previous_y + sample.dy, mx, my);
            return to_int(n) == 0 ? mx - ox : my - oy;
        }
        case 2: return sample.wheel;
        case 3: return sample.left;
        case 4: return sample.right;
        case 5: return sample.middle;
        default: return 0;
    }
}

void set_mouse_position(double x, double y) {
    InputDevice* input = input_device();
    if (!input) return;
    MouseRecord& r = record_of(*input);
    logical_to_window(screen_frame(*input), to_int(x), to_int(y), r.x, r.y);
    r.previous_x = r.x;
    r.previous_y = r.y;
}

void show_mouse_pointer(double value) { apply_pointer_setting(value != 0); }

int32_t mouse_count() { return 1; }

// There is one mouse record, so every index selects it.
void select_mouse(double) {
    if (InputDevice* input = input_device()) input->current_mouse = 0;
}

}  // namespace tvk
