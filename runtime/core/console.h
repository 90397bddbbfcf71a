#pragma once
// A console for the program's standard streams.
#include <cstdint>

namespace tvk {

// Gives the standard input and output a console: on Windows a console is allocated
// for a program that has none and the streams are attached to it; on Linux the
// streams already reach the terminal the program was started from, so nothing is
// allocated. 1 when the streams reach a console afterwards, else 0.
int32_t open_console();

}  // namespace tvk
