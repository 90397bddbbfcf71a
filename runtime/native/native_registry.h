#pragma once
// Functions of other native libraries that a program declares: the declarations are
// registered before start-up, resolved once during start-up, and the modules they
// loaded stay loaded until the process exits. The program declares them through
// native_commands.h.
#include <vector>

#include "runtime/native/native_commands.h"
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
