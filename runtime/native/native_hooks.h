#pragma once
// Calls the native layer makes into the layers above it (the frame loop and the
// window). Start-up fills them in core/hook_wiring.cpp; an unset hook means that
// service is absent: escape ends the program (the flag's initial value), and there
// is no fullscreen to leave and no window to activate.
#include <cstdint>

namespace tvk {

struct NativeHooks {
    int32_t (*escape_ends)() = nullptr;         // the frame loop's escape-ends flag
    void (*leave_fullscreen)() = nullptr;       // the graphics device leaves fullscreen
    void (*activate_main_window)() = nullptr;   // the main window becomes active with the focus
};

NativeHooks& native_hooks();

}  // namespace tvk
