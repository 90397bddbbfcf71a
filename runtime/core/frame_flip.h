#pragma once
// The frame step of every program loop, the pause and input waits, and pausing.
#include <cstdint>

namespace tvk {

// Presents the frame, paces to the frame rate, pumps messages, samples input,
// blocks while paused and ends the program on the quit keys.
void flip_screen();
// One bounded wait for input (at most 15 rounds of 5 ms); also the pause wait.
void wait_input_step();
// Called with 1 on focus loss and 0 on focus gain.
void set_pause_state(int32_t lost_focus);
void set_auto_pause(int32_t on);
// With a debugger attached: reports "BP" + value in hex and asks the next flip to
// bring the window to the front.
void debug_break(uint32_t value);

}  // namespace tvk
