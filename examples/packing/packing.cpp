// packing: a program that carries its media inside its own executable.
//
// Shows: nothing special in the code. The build (CMakeLists.txt) runs
// `tvk-pack append` to write packed/example-packing, the program with an archive of
// its media appended; every loader (fonts, sprites, file channels, sounds, music,
// shaders) looks for "Media/x" on the disk first and then for member "x" in that
// archive. file_size looks at the disk only, so the program can tell where a file
// came from.
#include <tavrick/tavrick.h>

#include <string>
#include <vector>

namespace tvk {

constexpr int32_t kSmall = 1, kGold = 2, kBanner = 1;

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 640;
    s.screen_height = 480;
    s.frame_rate = 60;
    s.application_name = "Packing";
}

bool loaded(const char* name) {
    if (error_state().code == kErrSuccess) return true;
    print_err((std::string(name) + ": " + error_text().c_str() + "\n").c_str());
    return false;
}

void program_main() {
    load_font("Media/small.png", kSmall);
    if (!loaded("Media/small.png")) return;
    load_font("Media/gold.png", kGold);
    if (!loaded("Media/gold.png")) return;
    load_sprite("Media/banner.png", kBanner);
    if (!loaded("Media/banner.png")) return;
    // A text file through a file channel (channels 0..7; mode 1 reads).
    channel_open(0, "Media/notes.txt", 1);
    if (!loaded("Media/notes.txt")) return;
    std::vector<std::string> notes;
    while (!channel_at_end(0)) notes.push_back(channel_read_line(0).c_str());
    channel_close(0);

    // Where each file came from: on the disk beside the program, or the archive.
    std::vector<std::string> origins;
    for (const char* name : {"Media/small.png", "Media/gold.png", "Media/banner.png", "Media/notes.txt"}) {
        const bool on_disk = file_size(name) > 0;
        origins.push_back(std::string(name) + (on_disk ? ": on the disk" : ": from the archive"));
    }

    int32_t banner_w = 0, banner_h = 0;
    get_sprite_size(kBanner, banner_w, banner_h);
    set_clear_colour(0x281810);
    for (;;) {
        set_alpha_mode(-1);
        draw_sprite(kBanner, (640 - banner_w) / 2, 24);
        set_font(kGold);
        for (size_t i = 0; i < notes.size(); ++i) {
            print_text(notes[i].c_str(), 40, 140 + 26 * static_cast<int32_t>(i), 1);
        }
        set_font(kSmall);
        for (size_t i = 0; i < origins.size(); ++i) {
            print_text(origins[i].c_str(), 40, 320 + 20 * static_cast<int32_t>(i), 1);
        }
        print_text("Esc ends", 40, 440, 1);
        flip_screen();
    }
}

}  // namespace tvk
