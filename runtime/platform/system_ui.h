#pragma once
// Small desktop services: the pointer, the screen saver, message boxes and the beep.
#include <cstdint>

namespace tvk::platform {

struct Window;

void set_arrow_pointer();
void show_pointer(bool shown);
// While disabled, the screen saver and display power-down stay off.
void set_screensaver_allowed(bool allowed);
bool screensaver_allowed();
// Blocks until the user closes it; never used by tests (it blocks under a virtual display).
void show_message_box(Window* parent, const char* title, const char* text, bool warning);
void beep();

}  // namespace tvk::platform
