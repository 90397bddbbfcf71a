#pragma once
// The logical screen scaled to a window of any size, for programs that ask for it
// (ProgramSettings::scale_to_window).
//
// The device then draws into an off-screen framebuffer of the logical screen's size
// (unturned, as the window would be) that stands in for the window's back buffer
// wherever the runtime means "the screen": drawing, the viewport and its turns,
// render targets begun on it (they return to it), grabs, saves and pixel reads. So
// everything a program does stays in logical pixels, exactly as in an unscaled
// window. Presenting a frame clears the window to the clear colour and copies the
// logical frame into the largest centred rectangle of its shape: texel for texel
// (nearest) when that rectangle is a whole multiple of the screen, filtered
// (linear) otherwise. The window itself can then be resized, maximised and put full
// screen; its size in pixels is kept here, from the resize events.
//
// While the window is exactly the screen's own size (the usual first window on a
// desktop under twice the screen's height) there is nothing to scale: drawing goes
// straight to the window as if unscaled, and the framebuffer is made only when the
// window first takes another size. That keeps the first frames as quick as an
// unscaled program's (on a software driver the first copy compiles its own code,
// some 100 ms) and their pixels the same.
//
// Without framebuffer objects or framebuffer blits in the driver the screen stays
// unscaled, in a window of its own size, as if the program had not asked.
#include <cstdint>

#include "runtime/platform/window.h"

namespace tvk {

class OpenGLRainbows;

struct ScreenScaling {
    uint8_t requested = 0;               // the program asked for a scaled screen
    uint8_t active = 0;                  // the screen is scaled to its window
    uint8_t direct = 0;                  // ... which is its own size: no framebuffer yet
    uint32_t framebuffer = 0;
    uint32_t colour_buffer = 0;          // renderbuffer, RGBA 8 bits each
    uint32_t depth_stencil_buffer = 0;   // renderbuffer when the window has depth; 0 = none
    int32_t width = 0;                   // the frame's size: the unturned logical screen
    int32_t height = 0;
    int32_t window_width = 0;            // the window's client area in pixels
    int32_t window_height = 0;
    uint8_t placed = 0;                  // the window has had its first windowed size
};

// The rectangle of a window that shows a frame: the largest of the frame's shape,
// centred (an odd pixel left over goes to the right or bottom bar). Empty when
// either size is not positive.
platform::ScreenRect scaled_rectangle(int32_t frame_width, int32_t frame_height,
                                      int32_t window_width, int32_t window_height);
// Whether the rectangle shows the frame at a whole multiple of its size.
bool whole_multiple(const platform::ScreenRect& shown, int32_t frame_width, int32_t frame_height);
// The whole multiple of the frame a first window gets: the largest that fits 80% of
// the desktop's height and 80% of its width, and at least 1 (also when the desktop's
// size is not known).
int32_t first_window_scale(int32_t frame_width, int32_t frame_height, int32_t desktop_width,
                           int32_t desktop_height);

// Lets the window be resized and scales the screen to it from now on; the
// framebuffer at the logical screen's size is made (and bound) once the window is
// not that size. False, with a line in the trace file, when the driver cannot: the
// screen then stays unscaled.
bool start_screen_scaling(OpenGLRainbows& device);
// Deletes the framebuffer (the context must be current); the screen is unscaled again.
void stop_screen_scaling(OpenGLRainbows& device);
// Remakes the framebuffer when the logical screen's size has changed (a new screen
// mode); true when it did. Its picture starts cleared.
bool match_screen_framebuffer(OpenGLRainbows& device);

// Binds the framebuffer that stands for the screen: the scaled screen's, or the
// window's own (0).
void bind_screen_framebuffer(OpenGLRainbows& device);
// The read buffer that names the screen while that framebuffer is bound: the
// scaled screen's colour attachment, or the window's back buffer.
uint32_t screen_read_buffer(const OpenGLRainbows& device);

// The window's client area now has this size (the core calls it on resize events).
// The first size other than the screen's own makes the framebuffer.
void screen_window_resized(OpenGLRainbows& device, int32_t width, int32_t height);
// Reads the window's client size from the window itself (after the runtime resized it).
void read_screen_window_size(OpenGLRainbows& device);
// Where the window shows the logical screen, in window pixels from its top-left; the
// whole unscaled screen at (0, 0) when the screen is not scaled.
platform::ScreenRect shown_screen_rectangle(const OpenGLRainbows& device);

// Clears the window's back buffer to the clear colour (the bars) and copies the
// logical frame into the shown rectangle. The window's framebuffer is left bound, for
// the swap; bind_screen_framebuffer goes back to the screen. Only while active.
void show_scaled_frame(OpenGLRainbows& device);

}  // namespace tvk
