#pragma once
// The device's window and OpenGL context: creating them, probing the driver, and
// switching between windowed, fullscreen and hidden. The steps of open_window and
// their trace lines are in display.cpp.
#include <cstdint>
#include <string>

#include "runtime/gfx/screen_scaling.h"
#include "runtime/platform/window.h"

namespace tvk {

class OpenGLRainbows;

struct DisplayState {
    platform::Window* window = nullptr;
    platform::GlContext gl_context = nullptr;
    void* instance = nullptr;           // the program instance, kept for recreating the window
    int32_t window_width = 0;           // the logical screen's size (swapped when turned)
    int32_t window_height = 0;
    ScreenScaling scaling;              // the screen scaled to a window of another size
    int32_t colour_depth = 0;           // bits per pixel asked for the surface and fullscreen mode
    uint8_t fullscreen = 0;
    int32_t multisample_request = 0;    // samples asked for at creation
    uint8_t depth_stencil_buffer = 0;   // the window gets depth 24 + stencil 8 (program setting)
    uint8_t bgra_supported = 0;         // the driver offers BGRA pixel transfers
    int32_t desktop_width = 0;          // read when the window is created
    int32_t desktop_height = 0;
    std::string renderer;               // GL_RENDERER, read once with the context
    bool renderer_read = false;
    bool software_reported = false;     // the software renderer notice has gone out
    std::string failure;                // why the last open_window failed ("" after success)
};

bool open_window(OpenGLRainbows& device, void* instance, int32_t width, int32_t height,
                 int32_t colour_depth, int32_t frames_per_second, int32_t multisample_samples);
bool enter_fullscreen(OpenGLRainbows& device);
int32_t leave_fullscreen(OpenGLRainbows& device);
int32_t change_screen_mode(OpenGLRainbows& device, int32_t width, int32_t height,
                           int32_t colour_depth, int32_t fullscreen);
int32_t hide_window(OpenGLRainbows& device);
int32_t close_window(OpenGLRainbows& device);
int32_t is_fullscreen(const OpenGLRainbows& device);
// Full screen on and off for a scaled screen (the user's F11 and Alt+Enter): over the
// whole display at the desktop's own resolution, and back to the window as it was.
// Returns the new fullscreen flag; an unscaled screen stays as it is (0 or 1 as before).
int32_t toggle_fullscreen(OpenGLRainbows& device);

// The desktop size read when the window was created.
void get_desktop_size(const OpenGLRainbows& device, int32_t& width, int32_t& height);
// The renderer text of the device's context ("" before a context existed).
const std::string& gl_renderer_text(OpenGLRainbows& device);
// True for the renderers that draw on the processor.
bool is_software_renderer(const std::string& renderer);

}  // namespace tvk
