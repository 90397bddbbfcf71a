#pragma once
// The process entry and the start-up of the runtime's services.
#include <cstdint>

namespace tvk {

// Supplied by the program: fills runtime_settings() before anything else exists,
// and runs the whole program once the runtime is up.
void program_settings();
void program_main();

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

// The second entry, for hosts that drive the runtime themselves: settings, start-up
// with the window shown, a cleared error state; returns 1 (0 without a window).
int runtime_start_without_main();

// Why the last init_runtime failed ("" after success).
const char* init_failure_reason();

}  // namespace tvk
