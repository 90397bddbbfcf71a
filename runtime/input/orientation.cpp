#include "runtime/input/orientation.h"

#include "runtime/input/input_hooks.h"

namespace tvk {

namespace {

bool scaled(const ScreenFrame& f) {
    return f.shown_width > 0 && f.shown_height > 0 && f.width > 0 && f.height > 0;
}

// Rounds towards minus infinity (a pixel left of the shown rectangle maps left of
// the screen, not onto its first column).
int64_t floor_div(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t ceil_div(int64_t a, int64_t b) { return -floor_div(-a, b); }

// Window pixel p, of a shown span from `from` of `shown` pixels, shows the frame
// texel whose span holds p's centre (as the nearest-texel copy draws it).
int32_t window_to_frame(int32_t p, int32_t from, int32_t shown, int32_t frame) {
    return static_cast<int32_t>(floor_div((2 * (static_cast<int64_t>(p) - from) + 1) * frame, 2 * static_cast<int64_t>(shown)));
}

// The first window pixel whose centre lies in frame texel t's span.
int32_t frame_to_window(int32_t t, int32_t from, int32_t shown, int32_t frame) {
    return static_cast<int32_t>(from + ceil_div(2 * static_cast<int64_t>(t) * shown - frame, 2 * static_cast<int64_t>(frame)));
}

}  // namespace

ScreenFrame current_screen_frame(int32_t fallback_width, int32_t fallback_height) {
    ScreenFrame frame;
    if (input_hooks().screen_frame && input_hooks().screen_frame(frame)) {
        frame.orientation &= 3;
        return frame;
    }
    frame.width = fallback_width;
    frame.height = fallback_height;
    return frame;
}

void window_to_logical(const ScreenFrame& f, int32_t x, int32_t y, int32_t& lx, int32_t& ly) {
    if (scaled(f)) {
        x = window_to_frame(x, f.shown_x, f.shown_width, f.width);
        y = window_to_frame(y, f.shown_y, f.shown_height, f.height);
    }
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
    if (scaled(f)) {
        wx = frame_to_window(wx, f.shown_x, f.shown_width, f.width);
        wy = frame_to_window(wy, f.shown_y, f.shown_height, f.height);
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

void window_size(const ScreenFrame& f, int32_t& width, int32_t& height) {
    width = scaled(f) ? f.window_width : f.width;
    height = scaled(f) ? f.window_height : f.height;
}

}  // namespace tvk
