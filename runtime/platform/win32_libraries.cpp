// The library service over LoadLibraryW. The loader binds every import of a DLL
// when it loads it and a DLL's own symbols stay its own, as the contract asks.
#include <windows.h>

#include "runtime/platform/libraries.h"
#include "runtime/platform/win32_text.h"

namespace tvk::platform {

// A Library is the loader's own module handle.
Library* open_library(const std::string& name) {
    if (name.empty()) return nullptr;
    // A library that cannot be found or loaded fails quietly instead of the system
    // showing a message box about it.
    DWORD old_mode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_mode);
    HMODULE module = LoadLibraryW(system_path_wide(name).c_str());
    SetThreadErrorMode(old_mode, nullptr);
    return reinterpret_cast<Library*>(module);
}

void* library_entry(Library* library, const std::string& entry) {
    if (!library) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), entry.c_str()));
}

void close_library(Library* library) {
    if (library) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

}  // namespace tvk::platform
