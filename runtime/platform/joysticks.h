#pragma once
// The game-controller service: attached joysticks, opened once, read on demand.
#include <cstdint>
#include <string>

namespace tvk::platform {

struct JoystickReading {
    int32_t axes[6] = {};          // X, Y, Z, rotation X, rotation Y, rotation Z: -32768..32767
    int32_t sliders[2] = {};
    uint32_t hats[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};  // hundredths of degrees clockwise from north; all ones = centred
    uint8_t buttons[32] = {};      // non-zero = down
};

// Opens the attached joysticks, at most limit of them, in the system's order; returns how many.
int32_t open_joysticks(int32_t limit);
void close_joysticks();
// "" for an index that was not opened.
std::string joystick_device_name(int32_t index);
// False when the joystick is gone or was never opened.
bool read_joystick_state(int32_t index, JoystickReading& reading);
bool joystick_can_rumble(int32_t index);
// Strengths 0..1 for the low and high frequency motors.
bool rumble_joystick(int32_t index, double low, double high, uint32_t duration_ms);

}  // namespace tvk::platform
