#pragma once
// Shader programs: a vertex and a fragment shader loaded from text files into one of
// 255 program slots of the device, switched on for the drawing that follows, with
// uniforms and vertex attributes set by name. Drawing without a program uses the
// fixed-function pipeline; the frame flip switches programs off after every frame.
#include <array>
#include <cstdint>

#include "runtime/gfx/targets/shader_commands.h"
#include "runtime/value/rt_string.h"

namespace tvk {

class OpenGLRainbows;

constexpr int32_t kShaderSlotCount = 255;

struct ShaderSlot {
    uint32_t program = 0;   // 0 = none
    uint32_t vertex = 0;
    uint32_t fragment = 0;
};


struct ShaderTable {
    std::array<ShaderSlot, kShaderSlotCount> slots{};
    int32_t current = -1;             // -1 = fixed-function drawing
    bool support_unreported = true;   // "No OpenGL 2.0 Shader Support" not sent yet
    ShaderMessageHandler handler = nullptr;  // null: the debug channel in debug mode
};

// Sends the text to the device's handler; by default, in debug mode, to the debug
// channel with a line feed, and nowhere otherwise.
void shader_message(const OpenGLRainbows& device, const char* text);
// Replaces the handler (null restores the default); returns the previous one.
ShaderMessageHandler set_shader_message_handler(OpenGLRainbows& device,
                                                ShaderMessageHandler handler);

// Loads slot 0..254 from the two files (either may be empty; names starting with
// "mem://" are memory files) and links them into a program. 1 on success; 0 for a
// bad slot, without shader support, when a file cannot be read, or when compiling
// or linking fails (the driver's log then goes to the handler).
int32_t load_shader(OpenGLRainbows& device, int32_t slot, const RtString& vertex_file,
                    const RtString& fragment_file);
// Slot 0..254 switches its program on; any other value switches programs off.
void use_shader(OpenGLRainbows& device, int32_t slot);
// Uniforms and one-component vertex attributes of the current program, by name.
void set_shader_float(OpenGLRainbows& device, const RtString& name, double value);
void set_shader_int(OpenGLRainbows& device, const RtString& name, int32_t value);
void set_shader_attribute(OpenGLRainbows& device, const RtString& name, double value);

// Switches programs off and deletes every slot's objects (needs the GL context).
void delete_all_shaders(OpenGLRainbows& device);

}  // namespace tvk
