#pragma once
// Names as programs write them and as the system takes them.
#include <string>

#include "runtime/value/rt_string.h"

namespace tvk {

// The name ready for a system call: every '\' becomes '/'.
std::string system_path(const char* name);

// Turns every '\' into '/' in place and returns the length.
uint32_t normalise_slashes(RtString& text);
void normalise_slashes(std::string& text);

// Removes a directory of that name, or else deletes the file; true on success.
bool remove_file_or_directory(const std::string& path);

}  // namespace tvk
