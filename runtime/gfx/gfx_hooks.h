#pragma once
// Calls the graphics layer makes into the layers above it. Start-up fills them in
// core/hook_wiring.cpp; an unset hook means nothing above has started, so there
// are no window messages to hand on and the frame wait only waits.
#include <cstdint>

namespace tvk {

// Where the message pump hands each pending event first: the program's
// "TVK_WIN32_MSG" handler, or null.
using MessageCallback = void (*)();

struct GfxHooks {
    // Handles every pending message of the main window (the frame wait pumps while
    // it waits); 0 when the program must end.
    int32_t (*pump_messages)(MessageCallback callback) = nullptr;
};

GfxHooks& gfx_hooks();

// Pumps through the hook; 1 when no pump is registered.
int32_t pump_window_messages(MessageCallback callback);

}  // namespace tvk
