#include "runtime/platform/clock.h"

namespace tvk::platform {

namespace {

ClockBackend*& installed_backend() {
    static ClockBackend* backend = nullptr;
    return backend;
}

}  // namespace

void ClockBackend::sleep_until(int64_t count) {
    const int64_t frequency = counter_frequency();
    const int64_t left = count - counter();
    if (left <= 0) return;
    // Without a usable frequency the counter is in milliseconds. Split so that large
    // counts cannot overflow; truncated, so the sleep never passes count.
    const int64_t ms = frequency > 0 ? left / frequency * 1000 + left % frequency * 1000 / frequency
                                     : left;
    if (ms > 0) sleep_ms(ms > INT32_MAX ? INT32_MAX : static_cast<int32_t>(ms));
}

ClockBackend& clock_backend() {
    ClockBackend* backend = installed_backend();
    return backend ? *backend : system_clock();
}

void set_clock_backend(ClockBackend* backend) { installed_backend() = backend; }

}  // namespace tvk::platform
