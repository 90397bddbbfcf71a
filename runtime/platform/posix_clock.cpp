// The system clock on POSIX: CLOCK_MONOTONIC in nanoseconds, nanosleep and
// clock_nanosleep to an absolute time.
#include "runtime/platform/clock.h"

#include <sys/prctl.h>
#include <time.h>

#include <cerrno>

namespace tvk::platform {

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;

// The kernel may delay a sleeper's wake-up by the thread's timer slack (50 µs by
// default) to group wake-ups. The frame wait wakes a little before each deadline and
// waits out the rest awake, so every microsecond of slack is paid in processor time;
// a sleeping thread of the runtime asks for 1 µs instead.
void keep_timer_slack_small() {
    thread_local bool done = false;
    if (done) return;
    prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
    done = true;
}

class SystemClock final : public ClockBackend {
public:
    int64_t counter() override {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<int64_t>(ts.tv_sec) * kNanosecondsPerSecond + ts.tv_nsec;
    }
    int64_t counter_frequency() override { return kNanosecondsPerSecond; }
    void sleep_ms(int32_t ms) override {
        if (ms <= 0) return;
        keep_timer_slack_small();
        timespec left{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
        // A signal only shortens the wait; the rest is slept after it.
        while (nanosleep(&left, &left) != 0 && errno == EINTR) {
        }
    }
    // To an absolute time, so neither a signal nor the time spent getting here
    // moves the wake-up.
    void sleep_until(int64_t count) override {
        if (count <= 0) return;
        keep_timer_slack_small();
        const timespec until{static_cast<time_t>(count / kNanosecondsPerSecond),
                             static_cast<long>(count % kNanosecondsPerSecond)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
        }
    }
};

}  // namespace

ClockBackend& system_clock() {
    static SystemClock clock;
    return clock;
}

}  // namespace tvk::platform
