#include "runtime/gfx/opengl_rainbows.h"

#include <memory>

namespace tvk {

namespace {

// The process's one device (namespace scope and constant-initialised, so reaching
// it costs no guard check on the drawing path).
constinit std::unique_ptr<OpenGLRainbows> the_device;

// Whether any render target still holds framebuffer objects to delete.
bool targets_hold_objects(const RenderTargets& targets) {
    for (const RenderTarget& target : targets.table) {
        if (target.framebuffer != 0 || target.depth_renderbuffer != 0 || target.saved_binding != -1)
            return true;
    }
    return false;
}

}  // namespace

OpenGLRainbows::~OpenGLRainbows() {
    // Draws not yet made would land in a window that is going away.
    draw_batch = DrawBatch{};
    // Target framebuffers go while their context is still there.
    if (display.gl_context && (!sprites.slots.empty() || targets_hold_objects(targets)))
        platform::make_gl_current(display.window, display.gl_context);
    free_render_targets(*this);
    free_sprite_table(*this);
    if (display.gl_context) {
        platform::make_gl_current(display.window, nullptr);
        platform::delete_gl_context(display.gl_context);
    }
    platform::destroy_window(display.window);
}

OpenGLRainbows* graphics_device() { return the_device.get(); }

OpenGLRainbows& create_graphics_device() {
    the_device = std::make_unique<OpenGLRainbows>();
    return *the_device;
}

void destroy_graphics_device() { the_device.reset(); }

}  // namespace tvk
