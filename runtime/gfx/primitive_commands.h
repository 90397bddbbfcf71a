#pragma once
// The untextured primitives of the compiled program, in a packed colour (red +
// green*256 + blue*65536), on the process's device; the transparency colour draws
// alpha 0, punching transparent holes where blending is off. And reading a pixel.
#include <cstdint>

namespace tvk {

void set_pixel(int32_t x, int32_t y, int32_t colour);
// Both end points are drawn.
void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);
// A filled rectangle; a negative size counts from the other edge.
void draw_rect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);
// The packed colour (no alpha) of the screen pixel, or of the current render target's.
int32_t get_pixel(int32_t x, int32_t y);

}  // namespace tvk
