#pragma once
// Copying an area of the back buffer into a sprite slot: how a render target is
// emulated without framebuffer objects.
#include <cstdint>

namespace tvk {

class OpenGLRainbows;

enum class CopyAlpha : uint8_t {
    opaque,        // every pixel opaque (the transparency colour switched off)
    transparency,  // the framebuffer's alpha, or where it has none, the transparency colour as alpha 0
};

// Copies the width by height area whose lower-left corner is at window pixel
// (gl_x, gl_y), counted from the bottom as OpenGL counts, into the slot: pixel row
// gl_y becomes the sprite's bottom row. The slot keeps its texture when that is
// large enough, and otherwise gets a new one of power-of-two sides; its image size
// becomes width by height. The part of the area outside the window is left
// transparent black. False for an empty area or a slot outside the table.
bool copy_back_buffer_to_sprite(OpenGLRainbows& device, int32_t slot, int32_t gl_x, int32_t gl_y,
                                int32_t width, int32_t height, CopyAlpha alpha);

// Replaces the slot's textures by one transparent black texture of tw by th texels
// (filters linear, wrap repeat); the slot's image size is left to the caller.
// False for a slot outside the table or when the driver gives no texture name.
bool make_sprite_texture(OpenGLRainbows& device, int32_t slot, int32_t tw, int32_t th);

}  // namespace tvk
