#pragma once
// The pointer services the input object needs beyond the event record of
// events.h (which holds the position, buttons and wheel of the drained events).
#include <cstdint>

namespace tvk::platform {

struct Window;

// Moves the system pointer to a client position of the window.
void warp_pointer(Window* window, int32_t x, int32_t y);
// Captured: the pointer is kept inside the window and reports motion beyond its
// edges (the hidden-pointer mode); released: it moves freely over the desktop.
void set_pointer_captured(bool captured);

}  // namespace tvk::platform
