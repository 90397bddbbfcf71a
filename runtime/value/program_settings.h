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
    RtString application_name;
};

// The one settings record of the process.
ProgramSettings& runtime_settings();

}  // namespace tvk
