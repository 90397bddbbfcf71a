// Sprite throughput, the way a program on the runtime draws: N bouncing sprites
// in a 480 by 640 window, drawn every frame with normal alpha blending and no frame
// cap; 60 warm-up frames, then 300 frames timed from flip_screen's return to
// flip_screen's return. The workload and the result line match the other
// frameworks' programs in the comparison (bench/compare.sh, bench/README.md).
//
//   bench_bunnymark N /absolute/path/sprite-32.png
//   SPRITE_PX=4 bench_bunnymark ...     draws the 32 by 32 image stretched to 4 by 4
//   SCALE_TO_WINDOW=1 bench_bunnymark ... the same frames on a screen scaled to its
//                                         window (ProgramSettings::scale_to_window)
//
// Run on a display with an audio driver named, e.g.
//   SDL_AUDIODRIVER=dummy xvfb-run -a -s '-screen 0 1024x768x24' bench/bench_bunnymark 10000 ...
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/anchor_workload.h"
#include "runtime/core/entry.h"
#include "runtime/core/frame_flip.h"
#include "runtime/gfx/display_commands.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/value/error_state.h"
#include "runtime/value/program_settings.h"

namespace tvk {

namespace {

constexpr int32_t kSprite = 1;

struct Options {
    int count = 1000;
    std::string sprite_path;
    int drawn_side = bench::kSpriteSide;
};

Options& options() {
    static Options o;
    return o;
}

}  // namespace

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = bench::kWindowWidth;
    s.screen_height = bench::kWindowHeight;
    s.frame_rate = 60;  // replaced by "no cap" once the window is up
    s.debug_mode = 1;   // no pause when the focus moves during the run
    s.application_name = RtString("bunnymark");
    if (const char* scaled = std::getenv("SCALE_TO_WINDOW"); scaled && std::atoi(scaled) != 0)
        s.scale_to_window = 1;
}

void program_main() {
    const Options& o = options();
    // The frame rate setting cannot express "no cap" (0 means a 2 ms period), so the
    // bench takes the pacing out as a program may: with no interval the frame wait
    // only pumps the window's messages.
    graphics_device()->pacing.frame_interval = 0;
    bench::print_glinfo(reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                        reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    set_clear_colour(32 | 32 << 8 | 48 << 16);
    load_sprite(RtString(o.sprite_path.c_str()), kSprite);
    int32_t width = 0, height = 0;
    get_sprite_size(kSprite, width, height);
    if (width <= 0) {
        std::fprintf(stderr, "cannot load %s\n", o.sprite_path.c_str());
        std::exit(1);
    }
    const bool stretched = o.drawn_side != width || o.drawn_side != height;

    bench::Bunnies bunnies(o.count);
    const int total = bench::kWarmupFrames + bench::kTimedFrames;
    double t0 = 0;
    for (int frame = 0; frame < total; ++frame) {
        bunnies.update();
        set_alpha_mode(-1);
        for (size_t i = 0; i < bunnies.x.size(); ++i) {
            const auto x = static_cast<int32_t>(bunnies.x[i]), y = static_cast<int32_t>(bunnies.y[i]);
            if (stretched) {
                draw_sprite_stretched(kSprite, x, y, o.drawn_side, o.drawn_side);
            } else {
                draw_sprite(kSprite, x, y);
            }
        }
        flip_screen();
        const double t = bench::now_s();
        if (frame == bench::kWarmupFrames - 1) t0 = t;
        if (frame == total - 1) bench::print_bunnymark(o.count, t - t0);
    }
    end_program();
}

}  // namespace tvk

int main(int argc, char** argv) {
    tvk::Options& o = tvk::options();
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s N sprite.png   (SPRITE_PX=side draws it at that size)\n",
                     argv[0]);
        return 2;
    }
    o.count = std::atoi(argv[1]);
    // The runtime enters its own folder at start-up, so the image is named absolutely.
    o.sprite_path = std::filesystem::absolute(argv[2]).string();
    if (const char* side = std::getenv("SPRITE_PX"); side && std::atoi(side) > 0)
        o.drawn_side = std::atoi(side);
    char* runtime_argv[] = {argv[0], nullptr};
    return tvk::runtime_main(1, runtime_argv);
}
