#pragma once
// The runtime's millisecond clock, read through the platform clock backend. The
// program reads it through clock_commands.h.
#include "runtime/value/clock_commands.h"

namespace tvk {

// Selects the clock source and forgets any earlier base reading.
void clock_init();
// Sleeps until clock_ms() reads about time (at once when it already does). The
// system clock wakes a little after it, a stand-in clock may wake a little before;
// callers that need the exact moment wait out the rest themselves.
void sleep_until_ms(double time);

}  // namespace tvk
