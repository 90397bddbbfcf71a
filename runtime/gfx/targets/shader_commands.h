#pragma once
// The shader commands of the compiled program, on the process's device (see
// shader_programs.h for what each does).
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

int32_t load_shader(int32_t slot, const RtString& vertex_file, const RtString& fragment_file);
void use_shader(int32_t slot);
void set_shader_float(const RtString& name, double value);
void set_shader_int(const RtString& name, int32_t value);
void set_shader_attribute(const RtString& name, double value);

}  // namespace tvk
