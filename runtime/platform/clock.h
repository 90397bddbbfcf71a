#pragma once
// The time source of the runtime: a monotonic counter and a sleep.
//
// Contract of a clock backend:
//   counter()            - a monotonic count that never goes backwards;
//   counter_frequency()  - counts per second, positive when the counter is usable;
//   sleep_ms(ms)         - blocks for about ms milliseconds (0 or less returns at once);
//   sleep_until(count)   - blocks until the counter reaches about count (at once when it
//                          already has); the caller waits out any rest itself, so a
//                          backend may wake early but should wake as little late as it can.
// The system backend on Linux counts nanoseconds of CLOCK_MONOTONIC, sleeps with
// nanosleep and sleeps until a count with clock_nanosleep to that absolute time; on
// Windows it counts the performance counter and sleeps on a high-resolution
// waitable timer. A program or a test
// may install another backend of the same contract (see manual_clock.h); everything
// above the platform layer reads time only through here.
#include <cstdint>

namespace tvk::platform {

class ClockBackend {
public:
    virtual ~ClockBackend() = default;
    virtual int64_t counter() = 0;
    virtual int64_t counter_frequency() = 0;
    virtual void sleep_ms(int32_t ms) = 0;
    // By default the whole milliseconds before count, through sleep_ms.
    virtual void sleep_until(int64_t count);
};

// The backend in use: the system clock unless another one was installed.
ClockBackend& clock_backend();

// The system's own clock (posix_clock.cpp, win32_clock.cpp).
ClockBackend& system_clock();

// Installs a backend (not owned; it must outlive its use). Null restores the system clock.
void set_clock_backend(ClockBackend* backend);

// Shorthands for the installed backend.
inline int64_t clock_counter() { return clock_backend().counter(); }
inline int64_t clock_counter_frequency() { return clock_backend().counter_frequency(); }
inline void sleep_ms(int32_t ms) { clock_backend().sleep_ms(ms); }
inline void sleep_until(int64_t count) { clock_backend().sleep_until(count); }

}  // namespace tvk::platform
