#pragma once
// What the machine query (platform_info_commands.h) needs from elsewhere in the
// runtime, and its date form.
#include <ctime>

#include "runtime/files/platform_info_commands.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// Answers "GLEXT:" queries: the address of a GL function of that name, or null. The
// graphics device installs it once a context exists; without it the answer is "0".
using GlFunctionLookup = void* (*)(const char* name);
void set_gl_function_lookup(GlFunctionLookup lookup);

// "2012-02-03 07:05:09".
RtString format_date_time(const std::tm& time);

}  // namespace tvk
