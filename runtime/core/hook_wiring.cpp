#include "runtime/core/hook_wiring.h"

#include "runtime/audio/audio_hooks.h"
#include "runtime/core/core_state.h"
#include "runtime/core/frame_flip.h"
#include "runtime/core/message_pump.h"
#include "runtime/core/shutdown.h"
#include "runtime/gfx/gfx_hooks.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/input/input_hooks.h"
#include "runtime/native/native_hooks.h"
#include "runtime/platform/window.h"
#include "runtime/value/value_hooks.h"

namespace tvk {

namespace {

int32_t pump_main_window(MessageCallback callback) {
    return pump_messages(graphics_device(), callback);
}

bool display_frame(ScreenFrame& frame) {
    const OpenGLRainbows* device = graphics_device();
    if (!device) return false;
    frame = ScreenFrame{};
    frame.orientation = device->screen.orientation & 3;
    frame.width = device->display.window_width;
    frame.height = device->display.window_height;
    const ScreenScaling& scaling = device->display.scaling;
    if (scaling.active) {
        const platform::ScreenRect shown = shown_screen_rectangle(*device);
        frame.window_width = scaling.window_width;
        frame.window_height = scaling.window_height;
        frame.shown_x = shown.x;
        frame.shown_y = shown.y;
        frame.shown_width = shown.width;
        frame.shown_height = shown.height;
    }
    return true;
}

int32_t escape_ends() { return core_state().escape_ends; }

void leave_fullscreen_mode() {
    if (OpenGLRainbows* device = graphics_device()) leave_fullscreen(*device);
}

void activate_main_window() {
    platform::show_window(core_state().main_window);
    platform::raise_window(core_state().main_window);
}

}  // namespace

void connect_layer_hooks() {
    value_hooks().shutdown_runtime = shutdown_runtime;
    audio_hooks().set_pause_state = set_pause_state;
    gfx_hooks().pump_messages = pump_main_window;
    input_hooks().screen_frame = display_frame;
    NativeHooks& native = native_hooks();
    native.escape_ends = escape_ends;
    native.leave_fullscreen = leave_fullscreen_mode;
    native.activate_main_window = activate_main_window;
}

}  // namespace tvk
