#pragma once
// What a program and the runtime hand each other at the start: the program's two
// routines, the entry for hosts that drive the runtime themselves, and the
// command line the process was started with.
#include "runtime/value/rt_string.h"

namespace tvk {

// Supplied by the program: fills runtime_settings() before anything else exists,
// and runs the whole program once the runtime is up.
void program_settings();
void program_main();

// The second entry, for hosts that drive the runtime themselves: settings, start-up
// with the window shown, a cleared error state; returns 1 (0 without a window).
int runtime_start_without_main();

// The process command line as start-up stored it (program path included).
RtString command_line();

}  // namespace tvk
