#pragma once
// The drawing state the sprite layer keeps beside OpenGL's own, and the 2D state
// that opening the window and every frame start from.
#include <cstdint>

namespace tvk {

class OpenGLRainbows;

struct DrawingState {
    int32_t bound_sprite = -1;             // sprite current on texture unit 0; negative = none
    int32_t secondary_sprite = -1;         // sprite on texture unit 1; negative = none
    int32_t secondary_texture_flag = 0;    // unit 1 holds the sprite's mipmapped texture
    float draw_alpha = 1.0f;               // alpha of sprites and primitives
    float alpha_test_reference = 0.05f;
    uint8_t smoothing = 1;                 // sprites filter linearly
    uint32_t transparency_colour = 0x8000FF;  // colour key of sprite loading and primitives
    uint32_t font_transparency_colour = 0;    // colour key of font loading
};

// The 2D state: whole-screen viewport, the capability cache forgotten and every
// capability the runtime uses set, the alpha test at 0.05, smoothing on, no sprite
// bound, blending off, draw alpha 1 and opaque white.
void reset_2d_state(OpenGLRainbows& device);
// The drawing state every frame starts from: blending off, draw alpha 1, opaque
// white, and the 2D state of reset_2d_state.
void reset_frame_drawing(OpenGLRainbows& device);

}  // namespace tvk
