// Presenting a finished frame and pacing the frame loop to the frame rate.
#include <GL/gl.h>

#include "runtime/core/clock.h"
#include "runtime/core/message_pump.h"
#include "runtime/core/service_hooks.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/opengl_rainbows.h"
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

// How long before a frame time the wait stops sleeping and starts watching the
// clock. Linux wakes a sleeper 30-70 µs after the time asked for on a quiet machine
// with the runtime's 1 µs timer slack (a few hundred µs at the 99th percentile, and
// milliseconds only when the processors are busy with other work; bench_sleep_overshoot
// measures it). Waking this much early absorbs nearly every such delay, and the rest
// of it is spent awake, costing about 2% of one processor at 60 frames a second.
constexpr double kWakeEarlyMs = 0.3;

// Sleeps to kWakeEarlyMs before the next frame time, then pumps messages and
// re-measures until that time has come; the next frame time then moves on by one
// interval, by two when the frame was late, and re-bases on now when later still.
// With no interval the frame time stays where it is, so an uncapped loop, whose frame
// time has passed, only pumps once.
int32_t wait_for_next_frame(OpenGLRainbows& device, MessageCallback callback) {
    for (;;) {
        if (pump_messages(&device, callback) == 0) return 0;
        const double now = clock_ms();
        const double remaining = device.next_frame_time - now;
        if (remaining > kWakeEarlyMs) {
            sleep_until_ms(device.next_frame_time - kWakeEarlyMs);
            continue;
        }
        if (remaining > 0) continue;
        if (!(device.frame_interval > 0)) return 1;
        device.next_frame_time += device.frame_interval;
        if (now > device.next_frame_time) device.next_frame_time += device.frame_interval;
        if (now > device.next_frame_time) device.next_frame_time = now + device.frame_interval;
        return 1;
    }
}

}  // namespace tvk
