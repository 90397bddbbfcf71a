#pragma once
// The capture commands of the compiled program, on the process's device: grabbing
// a screen rectangle into a sprite, saving sprites and the screen as PNG, JPEG or
// BMP files (chosen by the name's end), and reading a sprite into an array.
#include <cstdint>

#include "runtime/value/rt_array.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// The width by height rectangle at (x, y) of the logical screen becomes the slot's
// picture; a zero size empties the slot. 1 on success.
int32_t grab_sprite(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height);
// Both set "no such file" when they fail.
int32_t save_screen(const RtString& file_name);
int32_t save_sprite(const RtString& file_name, int32_t slot);
// The sprite's pixels, top row first, as R + G*256 + B*65536 + A*16777216.
int32_t sprite_to_array(IntArray& pixels, int32_t slot);

}  // namespace tvk
