// A program written against the installed SDK only: it includes <tavrick/tavrick.h>,
// opens a window, draws two boxes and a line of text, and flips frames until the
// screenshot setting ends it.
#include <tavrick/tavrick.h>

namespace tvk {

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 320;
    s.screen_height = 240;
    s.frame_rate = 60;
    s.application_name = "SDK consumer " TAVRICK_VERSION;
}

void program_main() {
    set_clear_colour(0x000000);
    for (;;) {
        draw_rect(10, 10, 100, 50, 0x00FF00);   // green
        draw_rect(200, 150, 60, 60, 0xFF0000);  // blue
        print_text("installed", 10, 100, 0);
        flip_screen();
    }
}

}  // namespace tvk
