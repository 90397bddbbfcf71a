#pragma once
// Declaring functions of other native libraries: each declaration names a library,
// an exported entry and the program's function-pointer variable. Start-up resolves
// them all once; a missing library or entry is reported on the debug channel and
// in the trace file, and its variable stays null.
namespace tvk {

// Called by the program's static initialisation, before start-up: clears the slot
// and records the declaration.
void declare_native(const char* module_name, const char* entry_name, void** slot);

template <typename R, typename... A>
void declare_native(const char* module_name, const char* entry_name, R (**slot)(A...)) {
    declare_native(module_name, entry_name, reinterpret_cast<void**>(slot));
}

}  // namespace tvk
