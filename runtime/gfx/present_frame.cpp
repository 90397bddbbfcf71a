// Presenting a finished frame and pacing the frame loop to the frame rate.
#include <GL/gl.h>

#include "runtime/core/clock.h"
#include "runtime/core/message_pump.h"
#include "runtime/core/service_hooks.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/window.h"

namespace tvk {

int32_t present_frame(OpenGLRainbows& device, MessageCallback callback) {
    flush_draw_batch();
    service_end_render_target(device);
    device.current_render_target = -1;
    set_viewport(device, 0, 0, 0, 0);
    platform::swap_window(device.window);

    if (device.background_sets[0].empty()) {
        if (device.depth_clear_pending) {
            device.depth_clear_pending = 0;
            glClear(GL_DEPTH_BUFFER_BIT | (device.clear_enabled ? GL_COLOR_BUFFER_BIT : 0));
        } else if (device.clear_enabled) {
            glClear(GL_COLOR_BUFFER_BIT);
        }
    } else {
        if (device.depth_clear_pending) {
            device.depth_clear_pending = 0;
            glClear(GL_DEPTH_BUFFER_BIT);
        }
        service_draw_background(device, 0);
    }
    return wait_for_next_frame(device, callback);
}

// Sleeps while more than 7 ms remain (waking 3 ms early), then pumps and
// re-measures until at most 1 ms remains; then the next frame time moves on by one
// interval, by two when the frame was late, and re-bases on now when later still.
int32_t wait_for_next_frame(OpenGLRainbows& device, MessageCallback callback) {
    for (;;) {
        if (pump_messages(&device, callback) == 0) return 0;
        const double now = clock_ms();
        const double remaining = device.next_frame_time - now;
        double time = now;
        if (remaining > 7) {
            platform::sleep_ms(static_cast<int32_t>(remaining - 3));
            time = now + remaining - 3;
            if (remaining - 3 > 1) continue;
        } else if (remaining > 1) {
            continue;
        }
        if (!(device.frame_interval > 0)) return 1;
        device.next_frame_time += device.frame_interval;
        if (time > device.next_frame_time) device.next_frame_time += device.frame_interval;
        if (time > device.next_frame_time) device.next_frame_time = time + device.frame_interval;
        return 1;
    }
}

}  // namespace tvk
