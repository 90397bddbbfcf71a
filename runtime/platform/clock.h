#pragma once
// The time source of the runtime: a monotonic counter and a sleep.
//
// Contract of a clock backend:
//   counter()            - a monotonic count that never goes backwards;
//   counter_frequency()  - counts per second, positive when the counter is usable;
//   sleep_ms(ms)         - blocks for about ms milliseconds (0 or less returns at once).
// The system backend counts nanoseconds of CLOCK_MONOTONIC and sleeps with nanosleep.
// A program or a test may install another backend of the same contract (see
// manual_clock.h); everything above the platform layer reads time only through here.
#include <cstdint>

namespace tvk::platform {

class ClockBackend {
public:
    virtual ~ClockBackend() = default;
    virtual int64_t counter() = 0;
    virtual int64_t counter_frequency() = 0;
    virtual void sleep_ms(int32_t ms) = 0;
};

// The backend in use: the system clock unless another one was installed.
ClockBackend& clock_backend();

// Installs a backend (not owned; it must outlive its use). Null restores the system clock.
void set_clock_backend(ClockBackend* backend);

// Shorthands for the installed backend.
inline int64_t clock_counter() { return clock_backend().counter(); }
inline int64_t clock_counter_frequency() { return clock_backend().counter_frequency(); }
inline void sleep_ms(int32_t ms) { clock_backend().sleep_ms(ms); }

}  // namespace tvk::platform
