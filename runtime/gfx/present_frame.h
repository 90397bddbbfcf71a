#pragma once
// Presenting a finished frame, clearing for the next one, and pacing the frame loop
// to the frame rate.
#include <cstdint>

#include "runtime/gfx/gfx_hooks.h"

namespace tvk {

class OpenGLRainbows;

struct FramePacing {
    double next_frame_time = 0;   // ms; the frame wait does not end before it
    double frame_interval = 0;    // ms between frames
    // How far after next_frame_time the frame wait aims while it pays back a late
    // wake-up (present_frame.cpp).
    double wake_slip = 0;
};

struct FrameClearing {
    uint8_t clear_enabled = 1;        // presenting clears the colour buffer
    uint8_t depth_clear_pending = 1;  // presenting clears the depth buffer once
};

// Presents the finished frame and waits for the next frame time; 0 when the
// message pump says the program must end.
int32_t present_frame(OpenGLRainbows& device, MessageCallback callback);
// The waiting part of present_frame on its own: pumps messages until the device's
// next frame time and advances it by one interval (see present_frame.cpp).
int32_t wait_for_next_frame(OpenGLRainbows& device, MessageCallback callback);
// Frame interval 1000 / fps ms; fps of 0 or less gives 2 ms.
void set_frame_rate(OpenGLRainbows& device, int32_t frames_per_second);
// -1 switches clearing off; any other packed colour switches it on, makes it the
// clear colour and clears the colour buffer at once.
void set_clear_colour(OpenGLRainbows& device, int32_t colour);

}  // namespace tvk
