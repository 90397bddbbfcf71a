#pragma once
// What the external-program operations need from the window and the frame loop,
// supplied by those services when they come up. An unset hook means the service is
// absent: escape ends the program (the flag's initial value), and there is no
// fullscreen to leave and no window to activate.
#include <cstdint>

namespace tvk {

struct HostHooks {
    int32_t (*escape_ends)() = nullptr;         // the frame loop's escape-ends flag
    void (*leave_fullscreen)() = nullptr;       // the graphics device leaves fullscreen
    void (*activate_main_window)() = nullptr;   // the main window becomes active with the focus
};

HostHooks& host_hooks();

}  // namespace tvk
