// The mapping of the logical screen onto the window or the current render target.
#include "runtime/gfx/viewport.h"

#include <GL/gl.h>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/scene_3d.h"

namespace tvk {

namespace {

bool turned(const OpenGLRainbows& device) {
    return device.screen.orientation == 1 || device.screen.orientation == 3;
}

// The logical screen's top edge lies along the window's top (0), right (1),
// bottom (2) or left (3) edge.
constexpr float kTurn[4] = {0.0f, -90.0f, 180.0f, 90.0f};

}  // namespace

void set_viewport(OpenGLRainbows& device, int32_t x, int32_t y, int32_t w, int32_t h) {
    flush_draw_batch(device);
    const DisplayState& display = device.display;
    ScreenMapping& screen = device.screen;
    const int32_t target = device.targets.current;
    if (w <= 0 || h <= 0) {
        x = y = 0;
        if (target >= 0) {
            render_target_size(device, target, w, h);
        } else {
            w = turned(device) ? display.window_height : display.window_width;
            h = turned(device) ? display.window_width : display.window_height;
        }
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (target >= 0) {
        int32_t target_width = 0, target_height = 0;
        render_target_size(device, target, target_width, target_height);
        glViewport(x, target_height - h - y, w, h);
    } else {
        const int32_t o = screen.orientation & 3;
        if (o != 0) glRotatef(kTurn[o], 0, 0, 1);
        const int32_t W = display.window_width;
        const int32_t H = display.window_height;
        int32_t left = x, top = y, width = w, height = h;
        switch (o) {
            case 1: left = W - y - h; top = x; width = h; height = w; break;
            case 2: left = W - x - w; top = H - y - h; break;
            case 3: left = y; top = H - x - w; width = h; height = w; break;
            default: break;
        }
        glViewport(left, H - height - top, width, height);
    }
    glOrtho(0, w, h, 0, -1, 1);
    screen.viewport_x = x;
    screen.viewport_y = y;
    screen.viewport_width = w;
    screen.viewport_height = h;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void set_orientation(OpenGLRainbows& device, int32_t orientation) {
    flush_draw_batch(device);
    device.screen.orientation = orientation < 0 ? 0 : orientation > 3 ? 3 : orientation;
    if (Scene3D* scene = scene_3d()) leave_3d_mode(*scene);
    set_viewport(device, 0, 0, 0, 0);
}

void get_screen_size(const OpenGLRainbows& device, int32_t& width, int32_t& height) {
    if (device.targets.current >= 0) {
        render_target_size(device, device.targets.current, width, height);
        return;
    }
    const DisplayState& display = device.display;
    width = turned(device) ? display.window_height : display.window_width;
    height = turned(device) ? display.window_width : display.window_height;
}

void get_viewport(const OpenGLRainbows& device, int32_t& x, int32_t& y, int32_t& width,
                  int32_t& height) {
    x = device.screen.viewport_x;
    y = device.screen.viewport_y;
    width = device.screen.viewport_width;
    height = device.screen.viewport_height;
}

}  // namespace tvk
