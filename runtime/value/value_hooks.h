#pragma once
// Calls the value layer makes into the layers above it. Start-up fills them in
// core/hook_wiring.cpp; an unset hook means nothing above has started, so the
// error stop has no services to shut down and only exits.
namespace tvk {

struct ValueHooks {
    // Releases every runtime service, once (the stop's first step).
    void (*shutdown_runtime)() = nullptr;
};

ValueHooks& value_hooks();

// Runs the shutdown hook when one is set. Also used by commands that hand the
// process to another program and must release the runtime first.
void shutdown_runtime_services();

}  // namespace tvk
