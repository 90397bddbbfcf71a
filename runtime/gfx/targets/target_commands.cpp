// The render-target commands of the compiled program.
#include "runtime/gfx/targets/target_commands.h"

#include "runtime/gfx/opengl_rainbows.h"

namespace tvk {

void create_render_target(int32_t index, int32_t sprite, int32_t width, int32_t height) {
    if (OpenGLRainbows* device = graphics_device())
        create_render_target(*device, index, sprite, width, height);
}

void use_render_target(int32_t index) {
    if (OpenGLRainbows* device = graphics_device()) use_render_target(*device, index);
}

void end_render_target() {
    if (OpenGLRainbows* device = graphics_device()) end_render_target(*device);
}

}  // namespace tvk
