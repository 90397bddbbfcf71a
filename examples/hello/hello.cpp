// hello: the smallest whole program. A window with text and a sprite that bounces
// around it.
//
// Shows: the two routines every program supplies (program_settings fills in the
// window before it opens, program_main runs the program); loading a bitmap font and
// a picture from the Media folder beside the executable and checking each load; the
// frame loop (draw, then flip_screen); and moving by frame count rather than by the
// clock, so that every run draws the same frames.
#include <tavrick/tavrick.h>

#include <string>

namespace tvk {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int32_t kFont = 1;  // fonts 0..31; 0 is the built-in 8 by 8 one
constexpr int32_t kGem = 1;   // sprite slots 0..65535

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = kWidth;
    s.screen_height = kHeight;
    s.frame_rate = 60;
    s.application_name = "Hello";
}

// Every load clears the error state first, so each one is checked on its own.
bool loaded(const char* name) {
    if (error_state().code == kErrSuccess) return true;
    print_err((std::string(name) + ": " + error_text().c_str() + "\n").c_str());
    return false;
}

void program_main() {
    // Start-up has entered the executable's folder: this is Media/ beside it,
    // wherever the program was started from.
    load_font("Media/small.png", kFont);  // also makes it the current font
    if (!loaded("Media/small.png")) return;  // returning ends the program
    load_sprite("Media/gem.png", kGem);
    if (!loaded("Media/gem.png")) return;
    int32_t gem_w = 0, gem_h = 0;
    get_sprite_size(kGem, gem_w, gem_h);

    set_clear_colour(0x5A3014);  // colours are packed as blue * 65536 + green * 256 + red
    int32_t x = 40, y = 90, dx = 3, dy = 2;
    for (int32_t frame = 0;; ++frame) {  // Escape or closing the window ends the program
        // The frame flip switches blending off, so soft edges are asked for each frame.
        set_alpha_mode(-1);
        print_text("Hello from Tavrick!", 20, 16, 1);
        print_text(("frame " + std::to_string(frame) + "   (Esc ends)").c_str(), 20, 36, 1);
        draw_rect(0, 62, kWidth, 2, 0xC0A080);

        draw_sprite(kGem, x, y);
        // A half-size copy that spins beside it (rotozoom draws around the centre).
        draw_sprite_rotozoom(kGem, x + gem_w / 2 + 70, y + gem_h / 2, frame * 4.0, 0.5);

        x += dx;
        y += dy;
        if (x < 0 || x + gem_w + 100 > kWidth) dx = -dx;
        if (y < 66 || y + gem_h > kHeight) dy = -dy;
        flip_screen();
    }
}

}  // namespace tvk
