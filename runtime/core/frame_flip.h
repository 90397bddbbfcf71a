#pragma once
// The frame step of every program loop, the pause and input waits, and pausing.
#include <cstdint>

namespace tvk {

// Presents the frame, paces to the frame rate, pumps messages, samples input,
// blocks while paused and ends the program on the quit keys.
void flip_screen();

// What ended a bounded input wait.
enum class InputSeen : uint8_t { nothing, key, mouse, joystick, pause };

// One bounded wait for input (at most 15 rounds of 5 ms); also the pause wait.
InputSeen wait_input_step();
// Repeat the bounded wait until a key is pressed (or a joystick shows input), or
// until the mouse moves or a button changes.
void wait_key();
void wait_mouse();

// Called with 1 on focus loss and 0 on focus gain.
void set_pause_state(int32_t lost_focus);
void set_auto_pause(int32_t on);
// Whether Escape ends the program at a frame flip; returns the new flag.
int32_t set_escape_quits(double value);
// With a debugger attached: reports "BP" + value in hex and asks the next flip to
// bring the window to the front.
void debug_break(uint32_t value);

}  // namespace tvk
