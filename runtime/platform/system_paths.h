#pragma once
// Where the system keeps things: the temporary folder, the executable, and the
// process's current folder.
#include <string>

namespace tvk::platform {

// $TMPDIR, or /tmp, always with a trailing '/'.
std::string temp_folder();

// Full path of the running executable with '/' separators; empty when unknown.
std::string executable_path();

// Makes path the process's current folder; false with the system's reason when it
// cannot be entered (the current folder then stays as it was).
bool set_current_folder(const std::string& path, std::string& why);

}  // namespace tvk::platform
