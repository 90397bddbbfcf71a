#pragma once
// The process service: other programs started as children of this one, and
// documents handed to the desktop's opener.
//
// Contract: a program is started from its words, the program first and then its
// arguments, each word reaching the child exactly as given (the backend quotes or
// splits them as its system needs). A program named without a folder is looked up
// on the system's search path. Children start with the system's default
// handling of everything this process changed for itself (signals, for one), so
// they behave as if started from a terminal. A child is either waited for until it
// ends or left to run; reap_finished_programs() releases those left to run that
// have ended since, so that none lingers (a backend whose system keeps nothing of
// an ended child does nothing there). Everything runs on the caller's thread.
#include <cstdint>
#include <string>
#include <vector>

namespace tvk::platform {

// Starts the program. With wait, blocks until it ends and stores its exit status
// (a program ended by a signal gives 128 + the signal's number); without, returns
// at once and leaves exit_status alone. show_window asks for the child's first
// window to be shown (false: hidden) where the system lets a parent decide that.
// False when the program could not be started.
bool run_program(const std::vector<std::string>& words, bool wait, bool show_window, int64_t& exit_status);

// Releases the children left to run that have ended since.
void reap_finished_programs();

// Hands a file, folder or address ('/' separators) to the program the desktop opens
// such things with, without waiting for it. False when that could not be started.
bool open_with_system_handler(const std::string& document);

}  // namespace tvk::platform
