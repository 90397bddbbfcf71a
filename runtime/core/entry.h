#pragma once
// The process entry and the start-up of the runtime's services. The program's
// routines and the second entry are in program_commands.h.
#include <cstdint>

#include "runtime/core/program_commands.h"

namespace tvk {

// Show commands of the start-up information.
constexpr int32_t kShowHidden = 0;
constexpr int32_t kShowNormal = 1;
constexpr int32_t kShowDefault = 10;

// The process entry: stores the command line, runs the program's settings routine,
// brings the runtime up, runs the program and ends through the error stop. When no
// window can be opened it says why on standard error and returns non-zero.
int runtime_main(int argc, char** argv);

// Brings up every runtime service in order; false when the window could not be
// opened (the remaining steps are then skipped).
bool init_runtime(void* instance, int32_t show_command, const char* title);

// Why the last init_runtime failed ("" after success).
const char* init_failure_reason();

}  // namespace tvk
