#include "runtime/platform/clock.h"

#include <time.h>

#include <cerrno>

namespace tvk::platform {

namespace {

class SystemClock final : public ClockBackend {
public:
    int64_t counter() override {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }
    int64_t counter_frequency() override { return 1000000000; }
    void sleep_ms(int32_t ms) override {
        if (ms <= 0) return;
        timespec left{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
        // A signal only shortens the wait; the rest is slept after it.
        while (nanosleep(&left, &left) != 0 && errno == EINTR) {
        }
    }
};

SystemClock& system_clock() {
    static SystemClock clock;
    return clock;
}

ClockBackend*& installed_backend() {
    static ClockBackend* backend = nullptr;
    return backend;
}

}  // namespace

ClockBackend& clock_backend() {
    ClockBackend* backend = installed_backend();
    return backend ? *backend : system_clock();
}

void set_clock_backend(ClockBackend* backend) { installed_backend() = backend; }

}  // namespace tvk::platform
