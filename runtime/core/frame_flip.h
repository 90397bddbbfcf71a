#pragma once
// The frame step inside the runtime: the bounded input wait that the waits and the
// pause are made of, and the pause state the window's focus drives. The program's
// commands (flip_screen, the waits, the quit key) are in frame_commands.h.
#include <cstdint>

#include "runtime/core/frame_commands.h"

namespace tvk {

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

// Called with 1 on focus loss and 0 on focus gain.
void set_pause_state(int32_t lost_focus);

}  // namespace tvk
