// A program for the frame-capture test: frame n (from 1) is filled with the grey
// level 10 * n, with a square in the transparency colour at its top-left corner;
// after ten frames it ends by itself.
#include <tavrick/tavrick.h>

namespace tvk {

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 160;
    s.screen_height = 120;
    s.frame_rate = 60;
    s.application_name = "CaptureProbe";
}

void program_main() {
    for (int32_t n = 1; n <= 10; ++n) {
        const int32_t grey = 10 * n;
        draw_rect(0, 0, 160, 120, grey | grey << 8 | grey << 16);
        draw_rect(0, 0, 8, 8, 0x8000FF);
        flip_screen();
    }
}

}  // namespace tvk
