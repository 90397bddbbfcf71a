#include "runtime/gfx/opengl_rainbows.h"

#include <memory>

#include "runtime/gfx/backgrounds.h"
#include "runtime/gfx/scene_3d.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/gfx/targets/render_target.h"

namespace tvk {

namespace {
std::unique_ptr<OpenGLRainbows>& device_holder() {
    static std::unique_ptr<OpenGLRainbows> device;
    return device;
}
}  // namespace

OpenGLRainbows::~OpenGLRainbows() {
    // Draws not yet made would land in a window that is going away.
    draw_batch = DrawBatch{};
    // Sprite textures and target framebuffers go while their context is still there.
    if (gl_context && (sprite_table || render_targets)) platform::make_gl_current(window, gl_context);
    free_render_targets(*this);
    free_sprite_table(*this);
    if (gl_context) {
        platform::make_gl_current(window, nullptr);
        platform::delete_gl_context(gl_context);
    }
    platform::destroy_window(window);
}

OpenGLRainbows* graphics_device() {
    OpenGLRainbows* device = device_holder().get();
    if (device && !device->draw_batch.empty()) flush_draw_batch(*device);
    return device;
}

OpenGLRainbows* drawing_device() { return device_holder().get(); }

OpenGLRainbows& create_graphics_device() {
    device_holder() = std::make_unique<OpenGLRainbows>();
    return *device_holder();
}

void destroy_graphics_device() { device_holder().reset(); }

void set_orientation(int32_t orientation) {
    if (OpenGLRainbows* device = graphics_device()) set_orientation(*device, orientation);
}

void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    if (Scene3D* scene = scene_3d()) leave_3d_mode(*scene);
    set_viewport(*device, x, y, width, height);
}

void get_screen_size(int32_t& width, int32_t& height) {
    width = height = 0;
    if (OpenGLRainbows* device = graphics_device()) get_screen_size(*device, width, height);
}

void get_screen_size(double& width, double& height) {
    int32_t w = 0, h = 0;
    get_screen_size(w, h);
    width = w;
    height = h;
}

void get_desktop_size(double& width, double& height) {
    int32_t w = 0, h = 0;
    get_desktop_size(w, h);
    width = w;
    height = h;
}

void get_viewport(double& x, double& y, double& width, double& height) {
    int32_t vx = 0, vy = 0, vw = 0, vh = 0;
    if (OpenGLRainbows* device = graphics_device()) get_viewport(*device, vx, vy, vw, vh);
    x = vx;
    y = vy;
    width = vw;
    height = vh;
}

int32_t is_fullscreen() {
    OpenGLRainbows* device = graphics_device();
    return device ? is_fullscreen(*device) : 0;
}

void set_frame_rate(double frames_per_second) {
    if (OpenGLRainbows* device = graphics_device()) {
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
