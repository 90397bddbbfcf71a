// The system clock on Windows: the performance counter, and sleeps on a
// high-resolution waitable timer (a plain Sleep rounds up to the system's 15.6 ms
// tick unless the whole system's timer resolution is raised).
#include <windows.h>

#include "runtime/platform/clock.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace tvk::platform {

namespace {

// One timer per sleeping thread. Systems before Windows 10 1803 refuse the
// high-resolution kind; an ordinary timer (tick-rounded) is the fallback.
HANDLE thread_timer() {
    thread_local HANDLE timer = [] {
        HANDLE t = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
        if (!t) t = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
        return t;
    }();
    return timer;
}

// Sleeps for a span in 100-nanosecond units.
void sleep_for_ticks(int64_t ticks) {
    if (ticks <= 0) return;
    HANDLE timer = thread_timer();
    LARGE_INTEGER due;
    due.QuadPart = -ticks;  // negative: relative to now
    if (timer && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
        WaitForSingleObject(timer, INFINITE);
    } else {
        Sleep(static_cast<DWORD>((ticks + 9999) / 10000));
    }
}

class SystemClock final : public ClockBackend {
public:
    SystemClock() {
        LARGE_INTEGER f;
        frequency_ = QueryPerformanceFrequency(&f) ? f.QuadPart : 0;
    }
    int64_t counter() override {
        LARGE_INTEGER c;
        QueryPerformanceCounter(&c);
        return c.QuadPart;
    }
    int64_t counter_frequency() override { return frequency_; }
    void sleep_ms(int32_t ms) override {
        if (ms > 0) sleep_for_ticks(static_cast<int64_t>(ms) * 10000);
    }
    // The timer takes relative spans; the span to count is measured just before.
    void sleep_until(int64_t count) override {
        if (frequency_ <= 0) return ClockBackend::sleep_until(count);
        const int64_t left = count - counter();
        if (left <= 0) return;
        const int64_t ticks = left / frequency_ * 10000000 + left % frequency_ * 10000000 / frequency_;
        sleep_for_ticks(ticks);
    }

private:
    int64_t frequency_ = 0;
};

}  // namespace

ClockBackend& system_clock() {
    static SystemClock clock;
    return clock;
}

}  // namespace tvk::platform
