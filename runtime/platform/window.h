#pragma once
// The video service: the one main window, its OpenGL context and the display.
//
// Contract: video_start() must succeed before any other call here; windows are
// created hidden, with an OpenGL drawing surface described by a GlSurfaceRequest
// (the pixel format is fixed when the window is created, so another format needs
// another window). Sizes are client-area pixels. The GL context is a compatibility
// context for fixed-function drawing, with swapping not tied to the display's
// refresh: the runtime paces frames itself.
#include <cstdint>
#include <string>

namespace tvk::platform {

struct Window;               // opaque: one native window
using GlContext = void*;     // opaque: one OpenGL context

struct GlSurfaceRequest {
    int32_t colour_bits = 32;
    int32_t depth_bits = 0;    // 0 = no depth buffer
    int32_t stencil_bits = 0;  // 0 = no stencil buffer
    int32_t samples = 0;     // multisample samples; 0 = none
};

struct DisplayMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits_per_pixel = 0;
};

struct ScreenRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// Brings up video once per process; false with the reason when no display is usable.
bool video_start(std::string& why);
bool video_started();
void video_stop();

DisplayMode desktop_mode();
// The usable area (without panels) of the display holding the window, or of the first display.
ScreenRect work_area(Window* window);

// Null with why filled when the window or its surface cannot be made.
Window* create_window(const char* title, int32_t width, int32_t height,
                      const GlSurfaceRequest& surface, std::string& why);
void destroy_window(Window* window);
uint32_t window_id(Window* window);

void set_window_title(Window* window, const char* title);
std::string window_title(Window* window);
void show_window(Window* window);
void hide_window(Window* window);
void raise_window(Window* window);      // to the top, with input focus
bool window_has_focus(Window* window);
void set_window_bordered(Window* window, bool bordered);
void set_window_position(Window* window, int32_t x, int32_t y);
void set_window_client_size(Window* window, int32_t width, int32_t height);
void window_client_size(Window* window, int32_t& width, int32_t& height);
// Lets the user resize and maximise the window (it is created fixed in size).
void set_window_resizable(Window* window, bool resizable);
// Fullscreen in the given mode (bits_per_pixel 0 keeps the desktop's); false when refused.
bool enter_fullscreen_mode(Window* window, int32_t width, int32_t height, int32_t bits_per_pixel);
// Fullscreen over the whole display at the desktop's own resolution, with no mode
// change; the client area then has the display's size. False when refused.
bool enter_desktop_fullscreen(Window* window);
// Back to a window from either kind of fullscreen, at the size it had before.
void leave_fullscreen_mode(Window* window);

// Copies of one program running at once would open their windows on the same spot,
// one hiding the other. Each copy holds a number from its first call until its
// process ends, however it ends: the lowest that no running copy holds, 0 for the
// first. The runtime moves a copy's window that many steps down and to the right.
// Copies are told apart by program name and meet through lock files in the
// temporary folder, so copies with different temporary folders do not see each other.
int32_t program_copy_number(const std::string& program_name);

GlContext create_gl_context(Window* window, std::string& why);
bool make_gl_current(Window* window, GlContext context);
void delete_gl_context(GlContext context);
void swap_window(Window* window);
void* gl_proc_address(const char* name);
// The multisample samples the current surface really has (0 = none).
int32_t gl_surface_samples();

}  // namespace tvk::platform
