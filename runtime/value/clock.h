#pragma once
// The runtime's millisecond clock, read through the platform clock backend.
namespace tvk {

// Selects the clock source and forgets any earlier base reading.
void clock_init();
// Milliseconds since the first reading after clock_init (the first reading gives 0).
double clock_ms();
// Sleeps until clock_ms() reads about time (at once when it already does). The
// system clock wakes a little after it, a stand-in clock may wake a little before;
// callers that need the exact moment wait out the rest themselves.
void sleep_until_ms(double time);

}  // namespace tvk
