#pragma once
// The runtime core's process-wide state: what start-up stores, the frame
// timestamps, pausing and the quit-notified flag.
#include <cstdint>
#include <string>

#include "runtime/value/rt_string.h"

namespace tvk::platform {
struct Window;
}

namespace tvk {

struct CoreState {
    RtString command_line;
    RtString stored_title;
    int32_t auto_pause = 0;
    int32_t paused = 0;
    double current_frame_time = 0;
    double previous_frame_time = 0;
    double start_time = 0;
    uint8_t quit_notified = 0;
    int32_t escape_ends = 1;
    int32_t activation_request = 0;
    // "TVK_WIN32_MSG": -1 not looked up yet, 0 absent, 1 present.
    int32_t window_message_handler_state = -1;
    void (*window_message_handler)() = nullptr;
    platform::Window* main_window = nullptr;
    std::string executable_folder;
    std::string start_folder;  // the current folder before start-up entered executable_folder
};

CoreState& core_state();

// clock_ms() minus the start time of the frame timestamps.
double program_clock_ms();

}  // namespace tvk
