// The shader commands of the compiled program.
#include "runtime/gfx/targets/shader_commands.h"

#include "runtime/gfx/opengl_rainbows.h"

namespace tvk {

int32_t load_shader(int32_t slot, const RtString& vertex_file, const RtString& fragment_file) {
    OpenGLRainbows* device = graphics_device();
    return device ? load_shader(*device, slot, vertex_file, fragment_file) : 0;
}

ShaderMessageHandler set_shader_message_handler(ShaderMessageHandler handler) {
    OpenGLRainbows* device = graphics_device();
    return device ? set_shader_message_handler(*device, handler) : nullptr;
}

void use_shader(int32_t slot) {
    if (OpenGLRainbows* device = graphics_device()) use_shader(*device, slot);
}

void set_shader_float(const RtString& name, double value) {
    if (OpenGLRainbows* device = graphics_device()) set_shader_float(*device, name, value);
}

void set_shader_int(const RtString& name, int32_t value) {
    if (OpenGLRainbows* device = graphics_device()) set_shader_int(*device, name, value);
}

void set_shader_attribute(const RtString& name, double value) {
    if (OpenGLRainbows* device = graphics_device()) set_shader_attribute(*device, name, value);
}

}  // namespace tvk
