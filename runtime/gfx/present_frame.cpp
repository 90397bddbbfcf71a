// Presenting a finished frame, clearing for the next one and pacing the frame loop
// to the frame rate.
#include "runtime/gfx/present_frame.h"

#include <GL/gl.h>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/platform/window.h"
#include "runtime/value/clock.h"

namespace tvk {

int32_t present_frame(OpenGLRainbows& device, MessageCallback callback) {
    flush_draw_batch(device);
    end_render_target(device);
    device.targets.current = -1;
    set_viewport(device, 0, 0, 0, 0);
    // A scaled screen is copied into the window first, and drawing then goes back to it.
    const bool scaled = device.display.scaling.active != 0;
    if (scaled) show_scaled_frame(device);
    platform::swap_window(device.display.window);
    if (scaled) bind_screen_framebuffer(device);

    FrameClearing& clearing = device.clearing;
    if (device.backgrounds.sets[0].empty()) {
        if (clearing.depth_clear_pending) {
            clearing.depth_clear_pending = 0;
            glClear(GL_DEPTH_BUFFER_BIT | (clearing.clear_enabled ? GL_COLOR_BUFFER_BIT : 0));
        } else if (clearing.clear_enabled) {
            glClear(GL_COLOR_BUFFER_BIT);
        }
    } else {
        if (clearing.depth_clear_pending) {
            clearing.depth_clear_pending = 0;
            glClear(GL_DEPTH_BUFFER_BIT);
        }
        draw_background(device, 0);
    }
    return wait_for_next_frame(device, callback);
}

// How long before a frame time the first sleep ends. With the runtime's 1 µs timer
// slack (bench_sleep_overshoot measures it) a sleep of several milliseconds ends
// 40-160 µs late as a rule, but 0.4 ms to over a millisecond late in a few percent
// of frames: after a long idle the processor (in a virtual machine, the virtual one)
// is slow to wake. A sleep under a millisecond ends about 40 µs late and rarely more
// than 0.2 ms. So the wait sleeps in two steps: the long sleep ends kWakeEarlyMs
// before the frame time, and a short one ends at the frame time itself. The short
// sleep's ~40 µs lateness is much the same every frame, so it moves every frame
// alike; watching the last part awake instead cost some 60 µs of processor a frame.
constexpr double kWakeEarlyMs = 1.0;

// A wake-up that still comes late (the system delivers one 1-12 ms late now and
// then) makes one long frame. Catching up at the next frame time would add a short
// frame right after it, a second hitch; instead the wait aims that much after the
// frame times and pays the slip back kSlipPaybackMs a frame, an unseen 1% faster
// for a few frames, and the frame times themselves keep their schedule. A frame the
// program itself ran late is not a late wake-up: for it the catch-up rule below
// holds as it stands.
constexpr double kSlipPaybackMs = 0.2;

// Sleeps (in the two steps above) until the frame time, then pumps messages; the
// next frame time then moves on by one interval, by two when the frame was late, and
// re-bases on now when later still. With no interval the frame time stays where it
// is, so an uncapped loop, whose frame time has passed, only pumps.
int32_t wait_for_next_frame(OpenGLRainbows& device, MessageCallback callback) {
    FramePacing& pacing = device.pacing;
    const double wake_at = pacing.next_frame_time + pacing.wake_slip;
    double now = clock_ms();
    const bool slept = now < wake_at;
    while (now < wake_at) {
        const double remaining = wake_at - now;
        sleep_until_ms(remaining > kWakeEarlyMs ? wake_at - kWakeEarlyMs : wake_at);
        now = clock_ms();
    }
    if (pump_window_messages(callback) == 0) return 0;
    if (!(pacing.frame_interval > 0)) return 1;
    const double late = now - pacing.next_frame_time;
    pacing.wake_slip =
        slept && late > kSlipPaybackMs && late < pacing.frame_interval ? late - kSlipPaybackMs : 0;
    pacing.next_frame_time += pacing.frame_interval;
    if (now > pacing.next_frame_time) pacing.next_frame_time += pacing.frame_interval;
    if (now > pacing.next_frame_time) pacing.next_frame_time = now + pacing.frame_interval;
    return 1;
}

void set_frame_rate(OpenGLRainbows& device, int32_t frames_per_second) {
    device.pacing.frame_interval = frames_per_second > 0 ? 1000.0 / frames_per_second : 2.0;
}

void set_clear_colour(OpenGLRainbows& device, int32_t colour) {
    flush_draw_batch(device);
    if (colour == -1) {
        device.clearing.clear_enabled = 0;
        return;
    }
    device.clearing.clear_enabled = 1;
    const auto c = static_cast<uint32_t>(colour);
    glClearColor(static_cast<float>(c & 0xFF) / 255.0f, static_cast<float>((c >> 8) & 0xFF) / 255.0f,
                 static_cast<float>((c >> 16) & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace tvk
