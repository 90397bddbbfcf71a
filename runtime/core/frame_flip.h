#pragma once
// The frame step of every program loop, the pause and input waits, and pausing.
#include <cstdint>

namespace tvk {

// Presents the frame, paces to the frame rate, pumps messages, samples input,
// blocks while paused and ends the program on the quit keys.
void flip_screen();

// Kinds of input a bounded wait looks for and reports, as bits.
constexpr uint8_t kInputKey = 1;       // a key down (codes 0 to 254)
constexpr uint8_t kInputMouse = 2;     // the pointer moved or a button changed
constexpr uint8_t kInputJoystick = 4;  // a joystick button, axis or hat
constexpr uint8_t kInputAny = kInputKey | kInputMouse | kInputJoystick;
constexpr uint8_t kInputPaused = 8;    // the program was paused; the pause wait ran

// One bounded wait for input (at most 15 rounds of 5 ms); also the pause wait.
// Returns the wanted kinds seen in the round that ended it, kInputPaused after a
// pause wait, or 0 when the rounds ran out.
uint8_t wait_input_step(uint8_t wanted = kInputAny);
// Repeat the bounded wait until a key is pressed or a joystick shows input, or
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
