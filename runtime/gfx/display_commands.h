#pragma once
// The display commands of the compiled program, on the process's device: the
// screen's orientation, the viewport, the screen and desktop sizes, the frame rate
// and the clear colour. Sizes and positions are logical pixels.
#include <cstdint>

namespace tvk {

// Quarter turns of the logical screen, clamped to 0..3; leaves 3D drawing mode
// and resets the viewport to the whole screen.
void set_orientation(int32_t orientation);
// Leaves 3D drawing mode first; a width or height of 0 or less means the whole
// screen. A viewport lasts until the end of the frame.
void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height);
// The current render target's size, else the window's (swapped when turned).
void get_screen_size(int32_t& width, int32_t& height);
void get_screen_size(double& width, double& height);
void get_desktop_size(double& width, double& height);
void get_viewport(double& x, double& y, double& width, double& height);
int32_t is_fullscreen();
// The number is truncated; 0 or less gives a 2 ms frame interval.
void set_frame_rate(double frames_per_second);
// Removes the frame background first, so a clear colour always replaces a
// background picture; -1 switches clearing off.
void set_clear_colour(int32_t colour);

}  // namespace tvk
