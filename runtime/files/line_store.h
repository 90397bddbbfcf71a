#pragma once
// The numbered-line store at exit. The program's commands are in line_store_commands.h.
#include "runtime/files/line_store_commands.h"

namespace tvk {

// Rewrites the current file when it was changed (at exit).
void write_back_line_store();

}  // namespace tvk
