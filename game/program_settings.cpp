// SplitVerse's start-up settings: a portrait 480 by 640 screen at 60 frames a
// second, scaled to a window the player can resize or put full screen, and the
// three constant texts the platform query reports for the program.
#include "runtime/core/entry.h"
#include "runtime/value/program_settings.h"

#include "runtime/files/platform_info.h"

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
    s.scale_to_window = 1;
    s.application_name = RtString("SplitVerse");

    ProgramConstants& constants = program_constants();
    constants.compiled = RtString(__DATE__ "-" __TIME__);
    constants.host_id = RtString("5b1e7a3c");
    constants.version = RtString("000.001");
}

}  // namespace tvk
