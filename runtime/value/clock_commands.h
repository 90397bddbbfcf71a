#pragma once
// The program's millisecond clock.
namespace tvk {

// Milliseconds since the clock's first reading, which start-up takes (it gave 0).
double clock_ms();

}  // namespace tvk
