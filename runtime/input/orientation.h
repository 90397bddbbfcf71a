#pragma once
// The mappings between window pixels and the logical screen for the four screen
// orientations, with W and H the window size.
#include <cstdint>

namespace tvk {

struct ScreenFrame {
    int32_t orientation = 0;  // 0..3, quarter turns
    int32_t width = 0;        // window width W
    int32_t height = 0;       // window height H
};

// The display's orientation and window size, or orientation 0 over the given
// window size when there is no display.
ScreenFrame current_screen_frame(int32_t fallback_width, int32_t fallback_height);

void window_to_logical(const ScreenFrame& f, int32_t x, int32_t y, int32_t& lx, int32_t& ly);
void logical_to_window(const ScreenFrame& f, int32_t x, int32_t y, int32_t& wx, int32_t& wy);
// Turns a direction (joystick axes) with the orientation.
void rotate_axes(const ScreenFrame& f, double a, double b, double& ra, double& rb);
// The logical screen's size: W by H, or H by W when turned a quarter.
void logical_size(const ScreenFrame& f, int32_t& width, int32_t& height);

}  // namespace tvk
