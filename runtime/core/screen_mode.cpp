#include "runtime/core/screen_mode.h"

#include "runtime/audio/sound_device.h"
#include "runtime/core/core_state.h"
#include "runtime/core/frame_flip.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/input/input_device.h"
#include "runtime/value/numeric_helpers.h"
#include "runtime/value/program_settings.h"

namespace tvk {

void set_screen_mode(double width, double height, double fullscreen) {
    const int32_t w = to_int(width), h = to_int(height), full = to_int(fullscreen);
    ProgramSettings& settings = runtime_settings();
    settings.fullscreen = full;
    settings.screen_height = h;
    settings.screen_width = w;
    OpenGLRainbows* device = graphics_device();
    if (device) {
        flush_draw_batch(*device);
        if (w != 0) device->display.window_width = w;
        if (h != 0) device->display.window_height = h;
        if (full != 0) {
            enter_fullscreen(*device);
        } else {
            leave_fullscreen(*device);
        }
    }
    InputDevice* input = input_device();
    apply_pointer_setting(input ? input->pointer_shown != 0 : true);
    if (device) {
        rebind_input_window(device->display.window);
        core_state().main_window = device->display.window;
        set_sound_window(device->display.window);
    }
    for (int i = 0; i < 5; ++i) flip_screen();
}

}  // namespace tvk
