#pragma once
// Pixel-exact collision of two sprites (or animation frames) placed on the screen,
// tested on the alpha masks read back from their textures.
#include <cstdint>

namespace tvk {

class OpenGLRainbows;

// 1 when an opaque pixel of one sprite lies on an opaque pixel of the other, else
// 0; slots outside 0..65,535 and empty slots never collide.
int32_t sprite_collision(OpenGLRainbows& device, int32_t slot_a, int32_t xa, int32_t ya,
                         int32_t slot_b, int32_t xb, int32_t yb);
// The same for one frame of each sprite; a sprite without a frame size counts whole.
int32_t anim_collision(OpenGLRainbows& device, int32_t slot_a, int32_t frame_a, int32_t xa,
                       int32_t ya, int32_t slot_b, int32_t frame_b, int32_t xb, int32_t yb);

}  // namespace tvk
