#pragma once
// The start-up settings a program fills in its settings routine, read once by start-up.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

struct ProgramSettings {
    int32_t screen_width = 0;
    int32_t screen_height = 0;
    int32_t fullscreen = 0;
    int32_t hide_system_pointer = 0;
    int32_t frame_rate = 0;  // 0 or less: a fixed 2 ms period
    int32_t debug_mode = 0;
    int32_t multisample_samples = 0;
    // Non-zero gives the window a 24-bit depth and 8-bit stencil buffer. The runtime
    // draws in 2D and never uses them; they are for programs that also draw with
    // OpenGL directly. Without them a software renderer takes its much faster 2D path
    // (bench/README.md), so the window has none unless asked.
    int32_t depth_stencil_buffer = 0;
    // Non-zero scales the logical screen to its window: the window can be resized,
    // maximised and switched to full screen (F11, Alt+Enter), and each frame fills the
    // largest centred rectangle of the screen's shape, with bars in the clear colour.
    // The program still draws, grabs, saves and reads the mouse in logical pixels. The
    // first window is the largest whole multiple of the screen that fits 80% of the
    // desktop's height. 0 keeps the window at the screen's size, fixed.
    int32_t scale_to_window = 0;
    RtString application_name;
};

// The one settings record of the process.
ProgramSettings& runtime_settings();

}  // namespace tvk
