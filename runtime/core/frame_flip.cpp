#include "runtime/core/frame_flip.h"

#include <GL/gl.h>

#include <cstdio>

#include "runtime/core/clock.h"
#include "runtime/core/core_state.h"
#include "runtime/core/frame_capture.h"
#include "runtime/core/message_pump.h"
#include "runtime/core/named_handlers.h"
#include "runtime/core/service_hooks.h"
#include "runtime/gfx/gl_state_cache.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/scene_3d.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/events.h"
#include "runtime/platform/window.h"
#include "runtime/value/error_state.h"

namespace tvk {

namespace {

void print_line(const char* text) {
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void apply_escape_rule() {
    if (core_state().escape_ends != 0 && (service_key_down(1) || service_key_down(129))) {
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
        service_music_loop();
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
    if (core.activation_request != 0) activate_window();
    core.previous_frame_time = core.current_frame_time;
    core.current_frame_time = clock_ms();
    while (core.paused != 0) wait_input_step();
    service_update_input();
    apply_escape_rule();
    if (service_key_down(56) && service_key_down(62)) end_program();
    if (Scene3D* scene = scene_3d()) advance_scene_frame(*scene);
    service_music_loop();
    MessageCallback handler = window_message_handler();
    pump_messages(device, handler);
    if (!device) return;
    capture_frame_if_asked(*device);
    if (present_frame(*device, handler) == 0) end_program();
    if (gl_state(GlCap::blend) != 0) gl_disable(GlCap::blend);
    device->draw_alpha = 1.0f;
    glColor4f(1, 1, 1, 1);
    reset_2d_state(*device);
    if (Scene3D* scene = scene_3d()) reset_scene_frame(*scene);
    service_shaders_off();
}

void wait_input_step() {
    CoreState& core = core_state();
    platform::PointerRecord recorded = platform::pointer_record();
    for (int round = 0; round < 15; ++round) {
        service_music_loop();
        pump_messages(graphics_device(), window_message_handler());
        if (core.paused != 0) {
            pause_wait();
            return;
        }
        service_update_input();
        apply_escape_rule();
        if (service_any_key_down()) return;
        const platform::PointerRecord now = platform::pointer_record();
        if (now.x != recorded.x || now.y != recorded.y || now.left != recorded.left ||
            now.right != recorded.right) {
            return;
        }
        platform::sleep_ms(5);
    }
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

void debug_break(uint32_t value) {
    if (!debugger_attached()) return;
    char text[32];
    std::snprintf(text, sizeof text, "BP%x", value);
    service_apply_pointer_setting(true);
    debug_output(RtString(text));
    CoreState& core = core_state();
    core.paused = 0;
    service_update_input();
    core.activation_request = 1;
}

}  // namespace tvk
