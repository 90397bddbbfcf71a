#pragma once
// The program's joystick commands. Indices outside the joysticks found at
// start-up read as a joystick at rest with every button up.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

int32_t joystick_count();
RtString joystick_name(double index);
// Each -1..1; X and Y (and the two rotations) turned with the screen.
double joystick_x(double index);
double joystick_y(double index);
double joystick_z(double index);
double joystick_rotation_x(double index);
double joystick_rotation_y(double index);
double joystick_rotation_z(double index);
// The button byte (0 = up); 0 for a button number outside 0..31.
int32_t joystick_button(double index, double button);
// The first hat's direction: -1, 0 or 1 in x (right +1) or y (down +1), turned with the screen.
int32_t joystick_hat_x(double index);
int32_t joystick_hat_y(double index);
// Joystick 0: x and y as -1, 0 or 1, and its first two buttons.
void joystick_state(int32_t& x, int32_t& y, int32_t& button1, int32_t& button2);
void joystick_state(double& x, double& y, double& button1, double& button2);
void joystick_rumble(double index, double duration_ms, double force_x, double force_y);

}  // namespace tvk
