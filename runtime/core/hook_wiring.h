#pragma once
// The one place where the runtime's top layer fills the hooks through which the
// lower layers call up into it: the error stop's shutdown (value), the frame
// wait's message pump (gfx), the pause state that starting music clears (audio),
// the display's orientation and size for mapping the mouse (input), and the frame
// loop and window for external programs (native).
// Every lower layer declares its hooks in <folder>/<folder>_hooks.h and works, in
// a reduced way written there, when they are unset.
namespace tvk {

// Fills every layer's hooks; calling it again changes nothing.
void connect_layer_hooks();

}  // namespace tvk
