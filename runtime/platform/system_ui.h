#pragma once
// Small desktop services: the pointer, the screen saver, message boxes and the beep.
//
// A message box blocks until the user closes it, and under a virtual display nobody
// does: tests point the service at a stand-in program instead, which is run with
// the box's title, text and kind as its arguments and waited for.
#include <cstdint>
#include <string>

namespace tvk::platform {

struct Window;

void set_arrow_pointer();
void show_pointer(bool shown);
// While disabled, the screen saver and display power-down stay off.
void set_screensaver_allowed(bool allowed);
bool screensaver_allowed();
// Blocks until the user closes it (or the stand-in program has ended).
void show_message_box(Window* parent, const char* title, const char* text, bool warning);
// Runs program with the words title, text and "warning" or "information" instead of
// showing message boxes; an empty path goes back to showing them.
void set_message_box_program(const std::string& program);
void beep();

}  // namespace tvk::platform
