#pragma once
// Functions of other native libraries that a program declares: the declarations are
// registered before start-up, resolved once during start-up, and the modules they
// loaded stay loaded until the process exits.
#include <vector>

#include "runtime/platform/libraries.h"
#include "runtime/value/rt_string.h"

namespace tvk {

struct NativeDeclaration {
    const char* module_name;
    const char* entry_name;
    void** slot;  // the program's function-pointer variable
};

struct NativeRegistry {
    std::vector<platform::Library*> loaded_modules;  // in load order
    std::vector<RtString> module_names;              // lower-cased, at the index of their handle
    std::vector<NativeDeclaration> declarations;     // in registration order
};

// The one registry of the process, created on first use. Its creation arranges for
// release_natives to run when the process exits.
NativeRegistry& native_registry();

// Called by the program's static initialisation: clears the slot and records the
// declaration for resolve_declarations.
void declare_native(const char* module_name, const char* entry_name, void** slot);

template <typename R, typename... A>
void declare_native(const char* module_name, const char* entry_name, R (**slot)(A...)) {
    declare_native(module_name, entry_name, reinterpret_cast<void**>(slot));
}

// Called once by start-up: resolves every declaration in registration order. With no
// declarations it does nothing, not even the trace line.
void resolve_declarations();

// Resolves one declaration. On success the slot holds the entry's address; a missing
// module leaves the slot untouched, a missing entry stores null. Both are reported on
// the debug channel and in the trace file; the program is not stopped.
void resolve_native(const char* module_name, const char* entry_name, void** slot);

// Releases every loaded module in load order and empties the registry. Safe to call
// more than once.
void release_natives();

}  // namespace tvk
