#pragma once
// The executable's folder, which the runtime makes the current folder at start-up
// (and again at shutdown) so that the program's relative media names resolve
// beside the executable wherever the process was started from.
#include <string>

namespace tvk {

// The executable's full path as start-up uses it: at most 1024 bytes, with '/'.
std::string executable_path_for_start_up();

// The text before the last '/' or '\' (the whole text when there is none).
std::string folder_of(const std::string& path);

// Makes the folder current. When it cannot be entered the process stays where it
// is and says so on standard error: relative names then resolve from there.
void enter_folder(const std::string& folder);

}  // namespace tvk
