// Frame pacing of the whole runtime at its 60 frames a second: 100 bouncing
// sprites drawn each frame, 30 warm-up frames, then 600 intervals between the
// returns of flip_screen (which presents the frame and waits for the next frame
// time). Prints the mean interval, its standard deviation, the 99th percentile of
// |interval - 16.667 ms|, the largest interval and the processor time of the whole
// process per second of wall time, in the comparison's result line (bench/README.md).
//
//   bench_frame_pacing /absolute/path/sprite-32.png
//   PACING_TRACE=/tmp/frames.txt bench_frame_pacing ...   also writes each frame's times
//
// Run on a display with an audio driver named, e.g.
//   SDL_AUDIODRIVER=dummy xvfb-run -a -s '-screen 0 1024x768x24' bench/bench_frame_pacing ...
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/anchor_workload.h"
#include "runtime/core/entry.h"
#include "runtime/core/frame_flip.h"
#include "runtime/gfx/display_commands.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/value/clock.h"
#include "runtime/value/error_state.h"
#include "runtime/value/program_settings.h"

namespace tvk {

namespace {

constexpr int32_t kSprite = 1;

std::string& sprite_path() {
    static std::string path;
    return path;
}

}  // namespace

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = bench::kWindowWidth;
    s.screen_height = bench::kWindowHeight;
    s.frame_rate = 60;
    s.debug_mode = 1;  // no pause when the focus moves during the run
    s.application_name = RtString("FramePacing");
}

void program_main() {
    bench::print_glinfo(reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                        reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    set_clear_colour(32 | 32 << 8 | 48 << 16);
    load_sprite(RtString(sprite_path().c_str()), kSprite);
    int32_t width = 0, height = 0;
    get_sprite_size(kSprite, width, height);
    if (width <= 0) {
        std::fprintf(stderr, "cannot load %s\n", sprite_path().c_str());
        std::exit(1);
    }

    bench::Bunnies bunnies(bench::kPacingSprites);
    const int total = bench::kPacingWarmup + bench::kPacingIntervals;
    std::vector<double> stamps;
    // PACING_TRACE=file: one line per frame with the frame number, the frame time the
    // flip waits for, and when drawing ended and the flip returned (ms, runtime clock),
    // to tell a late wake-up from a late frame.
    const char* trace_path = std::getenv("PACING_TRACE");
    FILE* trace = trace_path ? std::fopen(trace_path, "w") : nullptr;
    double c0 = 0;
    for (int frame = 0; frame < total; ++frame) {
        bunnies.update();
        set_alpha_mode(-1);
        for (size_t i = 0; i < bunnies.x.size(); ++i)
            draw_sprite(kSprite, static_cast<int32_t>(bunnies.x[i]), static_cast<int32_t>(bunnies.y[i]));
        const double deadline = graphics_device()->pacing.next_frame_time, drawn = clock_ms();
        flip_screen();
        const double t = bench::now_s();
        if (trace) std::fprintf(trace, "%d %.4f %.4f %.4f\n", frame, deadline, drawn, clock_ms());
        // The first stamp is taken after the last warm-up frame.
        if (frame == bench::kPacingWarmup - 1) c0 = bench::cpu_s();
        if (frame >= bench::kPacingWarmup - 1) stamps.push_back(t);
    }
    bench::print_pacing(stamps, bench::cpu_s() - c0, "present_frame");
    if (trace) std::fclose(trace);
    end_program();
}

}  // namespace tvk

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s sprite.png\n", argv[0]);
        return 2;
    }
    // The runtime enters its own folder at start-up, so the image is named absolutely.
    tvk::sprite_path() = std::filesystem::absolute(argv[1]).string();
    char* runtime_argv[] = {argv[0], nullptr};
    return tvk::runtime_main(1, runtime_argv);
}
