#include "runtime/input/orientation.h"

#include "runtime/input/input_hooks.h"

namespace tvk {

ScreenFrame current_screen_frame(int32_t fallback_width, int32_t fallback_height) {
    ScreenFrame frame;
    if (input_hooks().screen_frame && input_hooks().screen_frame(frame)) {
        frame.orientation &= 3;
        return frame;
    }
    return {0, fallback_width, fallback_height};
}

void window_to_logical(const ScreenFrame& f, int32_t x, int32_t y, int32_t& lx, int32_t& ly) {
    const int32_t w = f.width, h = f.height;
    switch (f.orientation & 3) {
        case 1: lx = y; ly = w - 1 - x; break;
        case 2: lx = w - 1 - x; ly = h - 1 - y; break;
        case 3: lx = h - 1 - y; ly = x; break;
        default: lx = x; ly = y; break;
    }
}

void logical_to_window(const ScreenFrame& f, int32_t x, int32_t y, int32_t& wx, int32_t& wy) {
    const int32_t w = f.width, h = f.height;
    switch (f.orientation & 3) {
        case 1: wx = w - 1 - y; wy = x; break;
        case 2: wx = w - 1 - x; wy = h - 1 - y; break;
        case 3: wx = y; wy = h - 1 - x; break;
        default: wx = x; wy = y; break;
    }
}

void rotate_axes(const ScreenFrame& f, double a, double b, double& ra, double& rb) {
    switch (f.orientation & 3) {
        case 1: ra = -b; rb = a; break;
        case 2: ra = -a; rb = -b; break;
        case 3: ra = b; rb = -a; break;
        default: ra = a; rb = b; break;
    }
}

void logical_size(const ScreenFrame& f, int32_t& width, int32_t& height) {
    const bool turned = (f.orientation & 1) != 0;
    width = turned ? f.height : f.width;
    height = turned ? f.width : f.height;
}

}  // namespace tvk
