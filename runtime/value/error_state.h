#pragma once
// The error stop and the debugger query. The error state itself, its codes and the
// program's commands are in error_commands.h.
#include "runtime/value/error_commands.h"

namespace tvk {

// The error stop: shuts the runtime down, prints "exit" and ends the process with
// status 0. Returns only when a stop is already in progress.
void runtime_stop();
bool runtime_stopping();

bool debugger_attached();

}  // namespace tvk
