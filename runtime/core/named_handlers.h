#pragma once
// Looking up the program's named handlers (named_handler_commands.h) inside the runtime.
#include "runtime/core/named_handler_commands.h"

namespace tvk {

// The first handler whose name matches byte for byte, or null.
void (*find_named_handler(const char* name))();

}  // namespace tvk
