// sound: sound effects placed left and right and played louder or softer, over a
// piece of music that loops.
//
// Shows: loading a wave file into a sound slot with several buffers (so the effect
// can overlap itself), play_sound with a pan from -1 (left) to 1 (right) and a
// volume from 0 to 1, and play_music looping a piece with set_music_volume and
// pause_music. A ball crosses the stage and taps where it hits a wall; a click
// rings the bell panned by where the pointer is and as loud as it is high up.
#include <tavrick/tavrick.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace tvk {

constexpr int32_t kTap = 0, kBell = 1;  // sound slots 0..4095
constexpr int32_t kStageLeft = 60, kStageRight = 580, kStageTop = 120, kStageBottom = 400;
constexpr int32_t kKeyM = 50, kKeyUp = 200, kKeyDown = 208;

struct Played {
    int32_t slot;
    double pan, volume;
};

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 640;
    s.screen_height = 480;
    s.frame_rate = 60;
    s.application_name = "Sound";
}

bool loaded(const char* name) {
    if (error_state().code == kErrSuccess) return true;
    print_err((std::string(name) + ": " + error_text().c_str() + "\n").c_str());
    return false;
}

std::string number(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// Where a pan puts a sound on the stage, and how high its volume draws.
int32_t stage_x(double pan) { return kStageLeft + static_cast<int32_t>((pan + 1) / 2 * (kStageRight - kStageLeft)); }
int32_t stage_y(double volume) { return kStageBottom - static_cast<int32_t>(volume * (kStageBottom - kStageTop)); }

void program_main() {
    load_font("Media/small.png", 1);
    if (!loaded("Media/small.png")) return;
    load_sound("Media/tap.wav", kTap, 4);  // four buffers: up to four taps at once
    if (!loaded("Media/tap.wav")) return;
    load_sound("Media/bell.wav", kBell, 2);
    if (!loaded("Media/bell.wav")) return;
    play_music("Media/loop.ogg", 1);  // 1: loop it
    if (!loaded("Media/loop.ogg")) return;

    double music_volume = 0.6;
    bool music_paused = false;
    set_music_volume(music_volume);
    Played history[8] = {};
    int32_t played = 0;
    auto play = [&](int32_t slot, double pan, double volume) {
        play_sound(slot, pan, volume);
        history[played++ % 8] = {slot, pan, volume};
    };

    int32_t before_left = 0, before_m = 0, before_up = 0, before_down = 0;
    for (int32_t frame = 0;; ++frame) {
        // The ball goes to and fro once every 120 frames, and lower each time.
        const int32_t step = frame % 120;
        const double pan = step < 60 ? -1 + step / 30.0 : 3 - step / 30.0;
        const double ball_volume = 1.0 - (frame / 120 % 4) * 0.25;
        if (step == 0 || step == 60) play(kTap, pan, ball_volume);

        int32_t x = 0, y = 0, left = 0, right = 0;
        mouse_state(x, y, left, right);
        if (left && !before_left) {
            const double click_pan = std::clamp((x - kStageLeft) * 2.0 / (kStageRight - kStageLeft) - 1, -1.0, 1.0);
            const double click_volume = std::clamp(1.0 * (kStageBottom - y) / (kStageBottom - kStageTop), 0.0, 1.0);
            play(kBell, click_pan, click_volume);
        }
        const int32_t m = key_down(kKeyM), up = key_down(kKeyUp), down = key_down(kKeyDown);
        if (m && !before_m) {
            music_paused = !music_paused;
            pause_music(music_paused ? 1 : 0);
        }
        if ((up && !before_up) || (down && !before_down)) {
            music_volume = std::clamp(music_volume + (up ? 0.1 : -0.1), 0.0, 1.0);
            set_music_volume(music_volume);
        }
        before_left = left, before_m = m, before_up = up, before_down = down;

        set_alpha_mode(-1);
        print_text("Sound: click to ring the bell (left/right = pan, height = volume)", 20, 12, 1);
        print_text(("music: loop.ogg, looping, " + std::string(music_paused ? "paused" : "playing") +
                    ", volume " + number(music_volume) + "   (M pauses, Up/Down change it)").c_str(),
                   20, 34, 1);
        draw_rect(kStageLeft, kStageTop, kStageRight - kStageLeft, kStageBottom - kStageTop, 0x3A2A20);
        print_text("L", kStageLeft - 24, kStageBottom - 10, 1);
        print_text("R", kStageRight + 12, kStageBottom - 10, 1);
        // The last eight sounds where they were placed: taps blue, bells gold.
        for (const Played& p : history) {
            if (p.volume <= 0) continue;
            const int32_t colour = p.slot == kBell ? 0x30C0FF : 0xFF8020;
            draw_rect(stage_x(p.pan) - 4, stage_y(p.volume), 9, kStageBottom - stage_y(p.volume), colour);
        }
        draw_rect(stage_x(pan) - 10, stage_y(ball_volume) - 10, 21, 21, 0xFFFFFF);
        print_text(("ball: pan " + number(pan) + ", volume " + number(ball_volume)).c_str(), 20, 420, 1);
        print_text(("sounds played: " + std::to_string(played)).c_str(), 20, 442, 1);
        flip_screen();
    }
}

}  // namespace tvk
