#pragma once
// Moving pixels from the screen into sprites and from sprites into files: grabbing
// a screen rectangle, reading a sprite's texture back, saving sprites and the
// screen as PNG, JPEG or BMP files.
#include <cstdint>

#include "runtime/gfx/image_buffer.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/rt_array.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// The framebuffer's alpha bits, queried on first use; -1 until then. Setting it
// back to -1 makes the next grab query again.
int32_t& framebuffer_alpha_bits();

// Device operations.
// Copies the width by height window rectangle at (x, y) (from the top-left, turned
// with the screen's orientation) into the slot; a zero size empties the slot.
// Without framebuffer alpha, pixels of the transparency colour come out transparent.
bool grab_sprite(OpenGLRainbows& device, int32_t slot, int32_t x, int32_t y, int32_t width,
                 int32_t height);
// The slot's picture, top row first, read through a framebuffer object.
bool read_sprite_pixels(OpenGLRainbows& device, int32_t slot, ImageBuffer& image);

// Commands of the compiled program, on the process's device.
int32_t grab_sprite(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height);
// Both set "no such file" when they fail.
int32_t save_screen(const RtString& file_name);
int32_t save_sprite(const RtString& file_name, int32_t slot);
// The sprite's pixels, top row first, as R + G*256 + B*65536 + A*16777216.
int32_t sprite_to_array(IntArray& pixels, int32_t slot);

}  // namespace tvk
