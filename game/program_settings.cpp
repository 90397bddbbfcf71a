// SplitVerse's start-up settings: a portrait 480 by 640 window at 60 frames a second.
#include "runtime/core/program_settings.h"

namespace tvk {

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 480;
    s.screen_height = 640;
    s.fullscreen = 0;
    s.hide_system_pointer = 1;
    s.frame_rate = 60;
    s.debug_mode = 0;
    s.multisample_samples = 0;
    s.application_name = RtString("SplitVerse");
}

}  // namespace tvk
