#include "runtime/core/frame_flip.h"

#include <cstdio>

#include "runtime/audio/music.h"
#include "runtime/core/core_state.h"
#include "runtime/core/frame_capture.h"
#include "runtime/core/message_pump.h"
#include "runtime/core/named_handlers.h"
#include "runtime/core/service_table.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/input/input_device.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/events.h"
#include "runtime/platform/window.h"
#include "runtime/value/clock.h"
#include "runtime/value/error_state.h"
#include "runtime/value/rt_string.h"

namespace tvk {

namespace {

void print_line(const char* text) {
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Escape, and the code no keyboard key produces, end the program while the flag is set.
void apply_escape_rule() {
    if (core_state().escape_ends != 0 && (input_key_state(1) || input_key_state(129))) {
        end_program();
    }
}

void activate_window() {
    CoreState& core = core_state();
    print_line("activate");
    platform::show_window(core.main_window);
    platform::raise_window(core.main_window);
    print_line("ok");
    core.activation_request = 0;
}

// Blocks while the program is paused, still handling the window's messages.
void pause_wait() {
    CoreState& core = core_state();
    print_line("pause loop in showscreen/hibernate");
    while (core.paused != 0 && core.activation_request == 0) {
        service_looped_music();
        if (pump_messages(graphics_device(), window_message_handler()) == 0) end_program();
        if (core.paused == 0) break;
        platform::sleep_ms(200);
    }
    print_line("pause loop ended");
}

}  // namespace

void flip_screen() {
    CoreState& core = core_state();
    OpenGLRainbows* device = graphics_device();
    // The frame's gathered draws go to OpenGL before the window's messages are
    // handled: the program's message handler may make OpenGL calls of its own.
    if (device) flush_draw_batch(*device);
    if (core.activation_request != 0) activate_window();
    core.previous_frame_time = core.current_frame_time;
    core.current_frame_time = clock_ms();
    while (core.paused != 0) wait_input_step();
    run_sample_steps();
    apply_escape_rule();
    if (input_key_state(56) && input_key_state(62)) end_program();
    run_before_pump_steps();
    MessageCallback handler = window_message_handler();
    pump_messages(device, handler);
    if (!device) return;
    capture_frame_if_asked(*device);
    if (present_frame(*device, handler) == 0) end_program();
    run_after_present_steps();
}

uint8_t wait_input_step(uint8_t wanted) {
    CoreState& core = core_state();
    platform::PointerRecord recorded = platform::pointer_record();
    for (int round = 0; round < 15; ++round) {
        service_looped_music();
        pump_messages(graphics_device(), window_message_handler());
        if (core.paused != 0) {
            pause_wait();
            return kInputPaused;
        }
        // Read before the sample below forgets the presses: a tap drained in this
        // round leaves the buttons as they were.
        const platform::PointerRecord now = platform::pointer_record();
        update_input();
        apply_escape_rule();
        uint8_t seen = 0;
        for (int code = 0; code <= 254; ++code) {
            if (input_key_state(static_cast<uint8_t>(code))) {
                seen |= kInputKey;
                break;
            }
        }
        if (now.x != recorded.x || now.y != recorded.y || now.left != recorded.left ||
            now.right != recorded.right || now.pressed_left || now.pressed_right) {
            seen |= kInputMouse;
            recorded = now;
        }
        if ((wanted & kInputJoystick) && any_joystick_input()) seen |= kInputJoystick;
        if (seen & wanted) return seen & wanted;
        platform::sleep_ms(5);
    }
    return 0;
}

void wait_key() {
    while ((wait_input_step(kInputKey | kInputJoystick) & (kInputKey | kInputJoystick)) == 0) {}
}

void wait_mouse() {
    while ((wait_input_step(kInputMouse) & kInputMouse) == 0) {}
}

void set_pause_state(int32_t lost_focus) {
    CoreState& core = core_state();
    const int32_t paused = (core.auto_pause != 0 && lost_focus != 0) ? 1 : 0;
    const bool changed = paused != core.paused;
    core.paused = paused;
    if (changed) call_by_name(paused ? "TVK_ON_PAUSE" : "TVK_ON_RESUME");
}

void set_auto_pause(int32_t on) {
    CoreState& core = core_state();
    core.auto_pause = on;
    if (on == 0 && core.paused != 0) {
        core.paused = 0;
        call_by_name("TVK_ON_RESUME");
    }
}

int32_t set_escape_quits(double value) {
    core_state().escape_ends = value != 0 ? 1 : 0;
    return core_state().escape_ends;
}

void debug_break(uint32_t value) {
    if (!debugger_attached()) return;
    char text[32];
    std::snprintf(text, sizeof text, "BP%x", value);
    apply_pointer_setting(true);
    debug_output(RtString(text));
    CoreState& core = core_state();
    core.paused = 0;
    update_input();
    core.activation_request = 1;
}

}  // namespace tvk
