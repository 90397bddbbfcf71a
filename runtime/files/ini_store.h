#pragma once
// The settings store at exit. The program's commands are in ini_commands.h.
#include "runtime/files/ini_commands.h"

namespace tvk {

// Rewrites the current file when it was changed (at exit). Memory files are never written.
void write_back_ini_store();

}  // namespace tvk
