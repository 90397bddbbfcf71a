#pragma once
// The program's keyboard and mouse commands.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// 1 while the key is down; every 129th query without a frame polls the keyboard afresh.
int32_t key_down(double code);
// The oldest typed character as a one-character string, or "".
RtString get_typed_key();

// Position on the logical screen (clamped to 0..width and 0..height) and the buttons.
void mouse_state(int32_t& x, int32_t& y, int32_t& left, int32_t& right);
void mouse_state(double& x, double& y, double& left, double& right);
// 0, 1: motion since the last frame; 2: wheel steps; 3, 4, 5: left, right, middle.
int32_t mouse_axis(double n);
void set_mouse_position(double x, double y);
void show_mouse_pointer(double value);
int32_t mouse_count();
void select_mouse(double index);

}  // namespace tvk
