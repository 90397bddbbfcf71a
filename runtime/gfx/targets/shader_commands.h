#pragma once
// The shader commands of the compiled program, on the process's device (see
// shader_programs.h for what each does).
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Where the shader operations send their texts (compile and link logs, failures).
using ShaderMessageHandler = void (*)(const char* text);

int32_t load_shader(int32_t slot, const RtString& vertex_file, const RtString& fragment_file);
void use_shader(int32_t slot);
void set_shader_float(const RtString& name, double value);
void set_shader_int(const RtString& name, int32_t value);
void set_shader_attribute(const RtString& name, double value);
// Replaces the handler (null: the debug channel, in debug mode only); returns the
// previous one.
ShaderMessageHandler set_shader_message_handler(ShaderMessageHandler handler);

}  // namespace tvk
