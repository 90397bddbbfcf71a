#pragma once
// The running process itself: the command line the system started it with,
// whether a debugger watches it, the debug channel, and its standard streams.
//
// Contract: command_line() gives the whole command line as the system holds it
// (program path included), words with blanks or tabs in double quotes;
// debugger_attached() answers for this moment (a debugger may attach or leave
// while the program runs); debug_output() reaches an attached debugger only;
// quiet_broken_pipe() makes a write to a closed standard stream fail instead of
// ending the process; attach_console() gives the process a console for its
// standard streams where it has none.
#include <string>

namespace tvk::platform {

// The command line; argv joined the same way when the system's copy cannot be read.
std::string command_line(int argc, char** argv);

bool debugger_attached();
// Hands the bytes to the attached debugger (on Linux its terminal: standard error).
void debug_output(const char* bytes, size_t length);

void quiet_broken_pipe();

// True when the standard streams reach a console afterwards.
bool attach_console();

}  // namespace tvk::platform
