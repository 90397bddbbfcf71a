#pragma once
// The keyed query about the machine the program runs on.
#include <cstdint>
#include <ctime>

#include "runtime/value/rt_string.h"

namespace tvk {

// Texts the program supplies for "COMPILED", "HOSTID" and "VERSION".
struct ProgramConstants {
    RtString compiled;
    RtString host_id;
    RtString version;
};
ProgramConstants& program_constants();

// Answers "GLEXT:" queries: the address of a GL function of that name, or null. The
// graphics device installs it once a context exists; without it the answer is "0".
using GlFunctionLookup = void* (*)(const char* name);
void set_gl_function_lookup(GlFunctionLookup lookup);

// Converts key to upper case in place, then answers it; "NO_DATA" for unknown keys
// and failed folder queries.
RtString platform_info(RtString& key);

// "2012-02-03 07:05:09".
RtString format_date_time(const std::tm& time);

}  // namespace tvk
