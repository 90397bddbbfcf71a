// How late the system wakes a sleeping thread. For requested sleeps of 0.1 to 10 ms
// it prints the median, 99th percentile and largest overshoot (time slept beyond the
// request, in microseconds) of a relative nanosleep and of clock_nanosleep to an
// absolute CLOCK_MONOTONIC deadline, each with the default timer slack and with a
// 1 µs slack. The frame pacing wakes this much before a frame's deadline and waits
// out the rest, so these figures choose its margin.
//
//   bench_sleep_overshoot [repetitions per size]     (default 200)
#include <sys/prctl.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int64_t now_ns() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

timespec to_timespec(int64_t ns) {
    return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

// Overshoot in ns of one relative sleep of the given length.
int64_t relative_sleep(int64_t ns) {
    const int64_t start = now_ns();
    timespec left = to_timespec(ns);
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
    return now_ns() - start - ns;
}

// Overshoot in ns of one sleep to an absolute deadline this far ahead.
int64_t absolute_sleep(int64_t ns) {
    const int64_t deadline = now_ns() + ns;
    const timespec until = to_timespec(deadline);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
    return now_ns() - deadline;
}

struct Summary {
    double median_us, p99_us, max_us;
};

Summary summarise(std::vector<int64_t>& samples) {
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    const size_t p99 = (99 * n + 99) / 100 - 1;  // nearest rank
    return {static_cast<double>(samples[n / 2]) / 1000.0, static_cast<double>(samples[p99]) / 1000.0,
            static_cast<double>(samples[n - 1]) / 1000.0};
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const double requests_ms[] = {0.1, 0.2, 0.5, 1, 2, 3, 5, 10};
    const long default_slack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);

    std::printf("overshoot of a sleep, microseconds (median / p99 / max of %d each)\n", repetitions);
    std::printf("%-9s %-24s %-24s %-24s %-24s\n", "request", "nanosleep", "abs clock_nanosleep",
                "nanosleep slack 1us", "abs slack 1us");
    for (double request : requests_ms) {
        const int64_t ns = static_cast<int64_t>(request * 1e6);
        std::printf("%-6.1f ms", request);
        for (int variant = 0; variant < 4; ++variant) {
            prctl(PR_SET_TIMERSLACK, variant < 2 ? default_slack : 1000, 0, 0, 0);
            std::vector<int64_t> samples;
            samples.reserve(static_cast<size_t>(repetitions));
            for (int i = 0; i < repetitions; ++i)
                samples.push_back(variant % 2 == 0 ? relative_sleep(ns) : absolute_sleep(ns));
            const Summary s = summarise(samples);
            char cell[64];
            std::snprintf(cell, sizeof cell, "%.0f / %.0f / %.0f", s.median_us, s.p99_us, s.max_us);
            std::printf(" %-24s", cell);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("default timer slack: %ld ns\n", default_slack);
    return 0;
}
