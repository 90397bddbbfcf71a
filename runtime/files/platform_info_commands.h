#pragma once
// The program's keyed query about the machine it runs on, and the texts the
// program supplies for it.
#include "runtime/value/rt_string.h"

namespace tvk {

// Texts the program supplies for "COMPILED", "HOSTID" and "VERSION".
struct ProgramConstants {
    RtString compiled;
    RtString host_id;
    RtString version;
};
ProgramConstants& program_constants();

// Converts key to upper case in place, then answers it; "NO_DATA" for unknown keys
// and failed folder queries.
RtString platform_info(RtString& key);

}  // namespace tvk
