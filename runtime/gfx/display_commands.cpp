// The display commands of the compiled program.
#include "runtime/gfx/display_commands.h"

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/scene_3d.h"

namespace tvk {

void set_orientation(int32_t orientation) {
    if (OpenGLRainbows* device = graphics_device()) set_orientation(*device, orientation);
}

void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    if (Scene3D* scene = scene_3d()) leave_3d_mode(*scene);
    set_viewport(*device, x, y, width, height);
}

void get_screen_size(int32_t& width, int32_t& height) {
    width = height = 0;
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    get_screen_size(*device, width, height);
}

void get_screen_size(double& width, double& height) {
    int32_t w = 0, h = 0;
    get_screen_size(w, h);
    width = w;
    height = h;
}

void get_desktop_size(double& width, double& height) {
    int32_t w = 0, h = 0;
    if (OpenGLRainbows* device = graphics_device()) {
        flush_draw_batch(*device);
        get_desktop_size(*device, w, h);
    }
    width = w;
    height = h;
}

void get_viewport(double& x, double& y, double& width, double& height) {
    int32_t vx = 0, vy = 0, vw = 0, vh = 0;
    if (OpenGLRainbows* device = graphics_device()) {
        flush_draw_batch(*device);
        get_viewport(*device, vx, vy, vw, vh);
    }
    x = vx;
    y = vy;
    width = vw;
    height = vh;
}

int32_t is_fullscreen() {
    OpenGLRainbows* device = graphics_device();
    if (!device) return 0;
    flush_draw_batch(*device);
    return is_fullscreen(*device);
}

void set_frame_rate(double frames_per_second) {
    if (OpenGLRainbows* device = graphics_device()) {
        flush_draw_batch(*device);
        set_frame_rate(*device, static_cast<int32_t>(frames_per_second));
    }
}

void set_clear_colour(int32_t colour) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    // A clear colour always replaces a background image.
    free_background(*device, 0);
    set_clear_colour(*device, colour);
}

}  // namespace tvk
