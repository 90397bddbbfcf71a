#pragma once
// The mapping of the logical screen onto the window, or onto the current render
// target: its orientation, the viewport and the projection that goes with them.
#include <cstdint>

namespace tvk {

class OpenGLRainbows;

struct ScreenMapping {
    int32_t orientation = 0;       // quarter turns of the logical screen, 0..3
    // The last rectangle set_viewport set, in logical pixels.
    int32_t viewport_x = 0;
    int32_t viewport_y = 0;
    int32_t viewport_width = 0;
    int32_t viewport_height = 0;
};

// A width or height of 0 or less means the whole logical screen (or target).
void set_viewport(OpenGLRainbows& device, int32_t x, int32_t y, int32_t width, int32_t height);
// Clamped to 0..3; leaves 3D drawing mode and resets the viewport.
void set_orientation(OpenGLRainbows& device, int32_t orientation);
// The current render target's sprite size, else the window's (swapped when turned).
void get_screen_size(const OpenGLRainbows& device, int32_t& width, int32_t& height);
void get_viewport(const OpenGLRainbows& device, int32_t& x, int32_t& y, int32_t& width,
                  int32_t& height);

}  // namespace tvk
