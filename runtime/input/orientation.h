#pragma once
// The mappings between window pixels and the logical screen: the screen's four
// orientations, with W and H the unturned screen's size, and, for a screen scaled to
// its window, the rectangle of the window that shows it.
#include <cstdint>

namespace tvk {

struct ScreenFrame {
    int32_t orientation = 0;  // 0..3, quarter turns
    int32_t width = 0;        // the unturned screen's width W (the window's, unscaled)
    int32_t height = 0;       // its height H
    // A scaled screen: the window's client size in pixels and the rectangle of it that
    // shows the W by H frame. A shown width of 0 means an unscaled window of the
    // frame's own size, pixel for pixel.
    int32_t window_width = 0, window_height = 0;
    int32_t shown_x = 0, shown_y = 0, shown_width = 0, shown_height = 0;
};

// The display's orientation and window size, or orientation 0 over the given
// window size when there is no display.
ScreenFrame current_screen_frame(int32_t fallback_width, int32_t fallback_height);

// A window pixel to the logical pixel it shows (outside the screen for the bars of
// a scaled window), and back: logical_to_window gives the first window pixel of the
// logical one, so that the round trip is exact whenever the screen is shown at
// least at its own size.
void window_to_logical(const ScreenFrame& f, int32_t x, int32_t y, int32_t& lx, int32_t& ly);
void logical_to_window(const ScreenFrame& f, int32_t x, int32_t y, int32_t& wx, int32_t& wy);
// Turns a direction (joystick axes) with the orientation.
void rotate_axes(const ScreenFrame& f, double a, double b, double& ra, double& rb);
// The logical screen's size: W by H, or H by W when turned a quarter.
void logical_size(const ScreenFrame& f, int32_t& width, int32_t& height);
// The window's size the mouse is kept within: the scaled window's, else W by H.
void window_size(const ScreenFrame& f, int32_t& width, int32_t& height);

}  // namespace tvk
