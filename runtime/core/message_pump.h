#pragma once
// The main window's event handling: the pump that drains the queue and the window
// procedure that acts on each event.
#include <cstdint>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/platform/events.h"

namespace tvk {

// Handles every pending event of the main window; a callback is called for each
// event while it is still queued. Always returns 1.
int32_t pump_messages(OpenGLRainbows* device, MessageCallback callback);

// Acts on one event of the main window: focus loss and gain pause and resume (with
// the title changed), a close request ends the program; for a screen scaled to its
// window, a new window size is noted and F11 or Alt+Enter switches full screen.
void window_procedure(const platform::Event& event);

// Looks the "TVK_WIN32_MSG" handler up once per run; null when the program has none.
MessageCallback window_message_handler();

}  // namespace tvk
