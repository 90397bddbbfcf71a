#pragma once
// Moving pixels from the screen into sprites and from sprites back into images:
// grabbing a screen rectangle and reading a sprite's texture back.
#include <cstdint>
#include <vector>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

class OpenGLRainbows;

struct CaptureStore {
    // The framebuffer's alpha bits, queried by the first grab; -1 until then.
    int32_t alpha_bits = -1;
    // The read-back buffers of grabs, kept between calls.
    std::vector<uint8_t> read_back;
    std::vector<uint8_t> texels;
};

// Copies the width by height window rectangle at (x, y) (from the top-left, turned
// with the screen's orientation) into the slot; a zero size empties the slot.
// Without framebuffer alpha, pixels of the transparency colour come out transparent.
bool grab_sprite(OpenGLRainbows& device, int32_t slot, int32_t x, int32_t y, int32_t width,
                 int32_t height);
// The slot's picture, top row first, read through a framebuffer object.
bool read_sprite_pixels(OpenGLRainbows& device, int32_t slot, ImageBuffer& image);

}  // namespace tvk
