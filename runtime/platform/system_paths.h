#pragma once
// Where the system keeps things: the temporary folder and the executable. (The
// process's current folder is the folder service's: folders.h.)
#include <string>

namespace tvk::platform {

// The system's temporary folder, always with a trailing '/': $TMPDIR or /tmp on
// Linux, what GetTempPathW names on Windows.
std::string temp_folder();

// Full path of the running executable with '/' separators; empty when unknown.
std::string executable_path();

}  // namespace tvk::platform
