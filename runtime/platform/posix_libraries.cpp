// The library service over dlopen.
#include "runtime/platform/libraries.h"

#include <dlfcn.h>

namespace tvk::platform {

// A Library is the loader's own handle.
Library* open_library(const std::string& name) {
    if (name.empty()) return nullptr;
    return static_cast<Library*>(dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL));
}

void* library_entry(Library* library, const std::string& entry) {
    return library ? dlsym(library, entry.c_str()) : nullptr;
}

void close_library(Library* library) {
    if (library) dlclose(library);
}

}  // namespace tvk::platform
