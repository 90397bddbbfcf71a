#pragma once
// The two workloads the runtime is compared on with other 2D frameworks (see
// bench/README.md): the window, the sprite motion, the frame counts, the clocks and
// the statistics, and the result lines in the form the comparison script reads
// ("framework=tavrick workload=... key=value ...").
//
// Sprites start from a Park-Miller LCG (state * 48271 mod 2^31 - 1, seed 12345) and
// move a fixed number of pixels per frame, bouncing off the window's edges, so
// every framework draws the same scene on the same frame.
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace tvk::bench {

constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 640;
constexpr int kSpriteSide = 32;  // the bounds use the sprite's full size at every drawn size
constexpr int kWarmupFrames = 60;
constexpr int kTimedFrames = 300;
constexpr int kPacingSprites = 100;
constexpr int kPacingWarmup = 30;
constexpr int kPacingIntervals = 600;
constexpr double kTargetMs = 1000.0 / 60.0;

class ParkMiller {
public:
    double next() {
        state_ = (state_ * 48271u) % 2147483647u;
        return static_cast<double>(state_) / 2147483647.0;
    }

private:
    uint64_t state_ = 12345;
};

struct Bunnies {
    std::vector<double> x, y, vx, vy;

    explicit Bunnies(int count) {
        ParkMiller lcg;
        for (int i = 0; i < count; ++i) {
            x.push_back(lcg.next() * (kWindowWidth - kSpriteSide));
            y.push_back(lcg.next() * (kWindowHeight - kSpriteSide));
            vx.push_back(lcg.next() * 8.0 - 4.0);
            vy.push_back(lcg.next() * 8.0 - 4.0);
        }
    }

    void update() {
        const double max_x = kWindowWidth - kSpriteSide, max_y = kWindowHeight - kSpriteSide;
        for (size_t i = 0; i < x.size(); ++i) {
            double nx = x[i] + vx[i], ny = y[i] + vy[i];
            if (nx < 0) {
                nx = -nx;
                vx[i] = -vx[i];
            } else if (nx > max_x) {
                nx = 2 * max_x - nx;
                vx[i] = -vx[i];
            }
            if (ny < 0) {
                ny = -ny;
                vy[i] = -vy[i];
            } else if (ny > max_y) {
                ny = 2 * max_y - ny;
                vy[i] = -vy[i];
            }
            x[i] = nx;
            y[i] = ny;
        }
    }
};

inline double seconds_of(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
inline double now_s() { return seconds_of(CLOCK_MONOTONIC); }
// Processor time of every thread of the process (the software renderer's too).
inline double cpu_s() { return seconds_of(CLOCK_PROCESS_CPUTIME_ID); }

inline void print_glinfo(const char* renderer, const char* version) {
    std::printf("framework=tavrick workload=glinfo gl_renderer=\"%s\" gl_version=\"%s\"\n",
                renderer ? renderer : "?", version ? version : "?");
    std::fflush(stdout);
}

inline void print_bunnymark(int count, double elapsed_s) {
    const double ms = elapsed_s * 1000.0 / kTimedFrames;
    std::printf("framework=tavrick workload=bunnymark n=%d frames=%d ms_per_frame=%.3f fps=%.1f\n",
                count, kTimedFrames, ms, 1000.0 / ms);
    std::fflush(stdout);
}

// stamps: kPacingIntervals + 1 monotonic times (s), each taken right after a frame
// was presented and paced.
inline void print_pacing(const std::vector<double>& stamps, double cpu_used_s, const char* limiter) {
    std::vector<double> deviation;
    double sum = 0, largest = 0;
    for (int i = 0; i < kPacingIntervals; ++i) {
        const double interval = (stamps[i + 1] - stamps[i]) * 1000.0;
        sum += interval;
        largest = std::max(largest, interval);
        deviation.push_back(std::fabs(interval - kTargetMs));
    }
    const double mean = sum / kPacingIntervals;
    double squares = 0;
    for (int i = 0; i < kPacingIntervals; ++i) {
        const double d = (stamps[i + 1] - stamps[i]) * 1000.0 - mean;
        squares += d * d;
    }
    std::sort(deviation.begin(), deviation.end());
    const int p99 = static_cast<int>(std::ceil(0.99 * kPacingIntervals)) - 1;  // nearest rank
    const double wall = stamps[kPacingIntervals] - stamps[0];
    std::printf("framework=tavrick workload=pacing n=%d intervals=%d mean_ms=%.3f sd_ms=%.3f "
                "p99_absdev_ms=%.3f max_ms=%.3f cpu_per_wall=%.3f limiter=%s\n",
                kPacingSprites, kPacingIntervals, mean, std::sqrt(squares / kPacingIntervals),
                deviation[static_cast<size_t>(p99)], largest, cpu_used_s / wall, limiter);
    std::fflush(stdout);
}

}  // namespace tvk::bench
