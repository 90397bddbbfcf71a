#pragma once
// The library service: native libraries loaded while the program runs, and the
// entries they export.
//
// Contract: open_library() loads a library by its name as written ('/' separators;
// a name without a folder is searched for the way the system's loader does), with
// every symbol it needs bound at once, and its own symbols kept to itself. A
// library opened twice is loaded once and must be closed twice. An empty name loads
// nothing (it would otherwise name the program itself on some systems).
#include <string>

namespace tvk::platform {

struct Library;  // opaque: one loaded library

// Null when the library cannot be loaded.
Library* open_library(const std::string& name);
// The address of an exported entry, or null when the library has none of that name.
void* library_entry(Library* library, const std::string& entry);
void close_library(Library* library);

}  // namespace tvk::platform
