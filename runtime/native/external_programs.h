#pragma once
// Starting other programs: opening a document with its associated program, and
// running a command line as a child process.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Hands a file, folder or address to the program the desktop opens it with. While
// escape ends the program, the runtime is shut down first and the program ends
// afterwards, so the opened program takes over from this one.
void open_document(const RtString& path);

// Runs the command line (program and arguments, see split_command_line) with the
// program looked up on the system's search path. Returns 1 when the process
// started, 0 otherwise. exit_code is set to 0 first; when wait is non-zero the
// call blocks until the child ends and stores its exit status (128 + the signal
// number for a child killed by a signal). show_window asks for the child's first
// window to be shown (0: hidden) where the system lets a parent decide that.
int32_t run_process(const RtString& command_line, int32_t wait, int32_t show_window, double& exit_code);

}  // namespace tvk
