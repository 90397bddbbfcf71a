#pragma once
// The program's frame step, its input waits, pausing and the quit key.
#include <cstdint>

namespace tvk {

// Presents the frame, paces to the frame rate, pumps messages, samples input,
// blocks while paused and ends the program on the quit keys.
void flip_screen();

// Repeat the bounded input wait until a key is pressed or a joystick shows input,
// or until the mouse moves or a button changes.
void wait_key();
void wait_mouse();

// Whether losing the focus pauses the program (on from start-up); switching it off
// while paused resumes at once.
void set_auto_pause(int32_t on);
// Whether Escape ends the program at a frame flip; returns the new flag.
int32_t set_escape_quits(double value);
// With a debugger attached: reports "BP" + value in hex and asks the next flip to
// bring the window to the front.
void debug_break(uint32_t value);

}  // namespace tvk
