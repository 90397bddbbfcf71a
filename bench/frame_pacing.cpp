// Frame pacing of the whole runtime: 600 frames at 60 frames a second, each
// drawing a light scene (a few hundred coloured quads), timed between the returns
// of flip_screen. Prints the mean interval, its standard deviation, the 99th
// percentile of |interval - 16.667 ms|, the largest interval, and the processor
// time used per second of wall time.
//
// Run on a display, e.g.: xvfb-run -a -s '-screen 0 1024x768x24' bench/bench_frame_pacing
#include <GL/gl.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "runtime/core/clock.h"
#include "runtime/core/entry.h"
#include "runtime/core/frame_flip.h"
#include "runtime/core/program_settings.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/error_state.h"

namespace tvk {

namespace {

constexpr int kFrames = 600;
constexpr double kTarget = 1000.0 / 60.0;

double seconds_of(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void draw_light_scene(int frame, int32_t width, int32_t height) {
    glBegin(GL_QUADS);
    for (int i = 0; i < 300; ++i) {
        const float t = static_cast<float>(frame + i) * 0.05f;
        const float x = (0.5f + 0.45f * std::sin(t * 0.7f + static_cast<float>(i))) * static_cast<float>(width);
        const float y = (0.5f + 0.45f * std::cos(t * 0.9f + static_cast<float>(i) * 0.3f)) *
                        static_cast<float>(height);
        glColor4f(0.5f + 0.5f * std::sin(t), 0.5f + 0.5f * std::cos(t), 0.5f, 1.0f);
        glVertex2f(x - 6, y - 6);
        glVertex2f(x + 6, y - 6);
        glVertex2f(x + 6, y + 6);
        glVertex2f(x - 6, y + 6);
    }
    glEnd();
}

}  // namespace

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 480;
    s.screen_height = 640;
    s.frame_rate = 60;
    s.debug_mode = 1;  // no pause when the focus moves during the run
    s.application_name = RtString("FramePacing");
}

void program_main() {
    int32_t width = 0, height = 0;
    get_screen_size(width, height);
    // A few frames to settle the window and the pacing.
    for (int i = 0; i < 10; ++i) flip_screen();

    std::vector<double> intervals;
    intervals.reserve(kFrames);
    const double wall_start = seconds_of(CLOCK_MONOTONIC);
    const double cpu_start = seconds_of(CLOCK_PROCESS_CPUTIME_ID);
    double last = clock_ms();
    for (int frame = 0; frame < kFrames; ++frame) {
        draw_light_scene(frame, width, height);
        flip_screen();
        const double now = clock_ms();
        intervals.push_back(now - last);
        last = now;
    }
    const double wall = seconds_of(CLOCK_MONOTONIC) - wall_start;
    const double cpu = seconds_of(CLOCK_PROCESS_CPUTIME_ID) - cpu_start;

    double sum = 0;
    for (double v : intervals) sum += v;
    const double mean = sum / kFrames;
    double squares = 0;
    for (double v : intervals) squares += (v - mean) * (v - mean);
    const double deviation = std::sqrt(squares / kFrames);
    std::vector<double> misses;
    for (double v : intervals) misses.push_back(std::fabs(v - kTarget));
    std::sort(misses.begin(), misses.end());
    const double p99 = misses[static_cast<size_t>(0.99 * (kFrames - 1))];
    const double largest = *std::max_element(intervals.begin(), intervals.end());

    std::printf("frames                     %d at 60 per second\n", kFrames);
    std::printf("mean interval              %.4f ms (target %.4f)\n", mean, kTarget);
    std::printf("standard deviation         %.4f ms\n", deviation);
    std::printf("p99 |interval - 16.667|    %.4f ms\n", p99);
    std::printf("largest interval           %.4f ms\n", largest);
    std::printf("CPU seconds / wall second  %.3f\n", cpu / wall);
    std::fflush(stdout);
    end_program();
}

}  // namespace tvk

int main(int argc, char** argv) { return tvk::runtime_main(argc, argv); }
