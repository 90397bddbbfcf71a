#include "runtime/value/clock.h"

#include <cstdint>

#include "runtime/platform/clock.h"

namespace tvk {

namespace {

struct ClockState {
    uint8_t mode = 0;          // 1: the monotonic counter; 0: no usable counter
    int64_t frequency = 0;     // counts per second
    double base = 0;
    int64_t base_count = 0;    // the counter at the base reading
    bool base_taken = false;   // a flag rather than base == 0, so a counter reading 0 works
    bool initialised = false;
};

ClockState& clock_state() {
    static ClockState state;
    return state;
}

// The counter in milliseconds, split so that large counts cannot overflow.
double counter_ms(int64_t count, int64_t frequency) {
    const int64_t whole = count / frequency;
    const int64_t rest = count % frequency;
    return static_cast<double>(whole) * 1000.0 +
           static_cast<double>(rest) * 1000.0 / static_cast<double>(frequency);
}

}  // namespace

void clock_init() {
    ClockState& c = clock_state();
    c.frequency = platform::clock_counter_frequency();
    c.mode = c.frequency > 0 ? 1 : 0;
    c.base = 0;
    c.base_taken = false;
    c.initialised = true;
}

double clock_ms() {
    ClockState& c = clock_state();
    if (!c.initialised) clock_init();
    // Without a usable frequency the counter is taken as milliseconds already.
    const int64_t count = platform::clock_counter();
    const double value = c.mode == 1 ? counter_ms(count, c.frequency) : static_cast<double>(count);
    if (!c.base_taken) {
        c.base = value;
        c.base_count = count;
        c.base_taken = true;
        return 0;
    }
    return value - c.base;
}

void sleep_until_ms(double time) {
    const ClockState& c = clock_state();
    if (!c.base_taken) clock_ms();
    if (!(time > 0)) time = 0;
    if (time > 1e12) time = 1e12;  // some 30 years: beyond it the counter could overflow
    // Back from milliseconds after the base to a counter value, in two parts as above.
    const auto whole = static_cast<int64_t>(time / 1000.0);
    const double rest_ms = time - static_cast<double>(whole) * 1000.0;
    const int64_t offset =
        c.mode == 1 ? whole * c.frequency +
                          static_cast<int64_t>(rest_ms * static_cast<double>(c.frequency) / 1000.0)
                    : static_cast<int64_t>(time);
    platform::sleep_until(c.base_count + offset);
}

}  // namespace tvk
