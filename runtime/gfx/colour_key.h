#pragma once
// Colour-key transparency and the recolouring of keyed-out pixels.
#include <cstdint>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

// A colour key of -1 keys out nothing.
inline constexpr int32_t kNoColourKey = -1;

// True when the key is set and equals the packed colour r + g*256 + b*65536.
inline bool matches_colour_key(int32_t key, uint8_t r, uint8_t g, uint8_t b) {
    return key != kNoColourKey && key == (r | (g << 8) | (b << 16));
}

// Gives every fully transparent pixel the average colour of its non-transparent
// neighbours (black when it has none), so that linear filtering at the edge of a
// keyed-out area blends towards the sprite's own colours instead of the key colour.
// Opaque pixels and all alpha values stay as they are.
void recolour_transparent_edges(ImageBuffer& image);

}  // namespace tvk
