#pragma once
// Changing the window's size and mode while the program runs.
namespace tvk {

// Stores the new size and mode in the program settings, resizes the window or
// enters or leaves fullscreen, hands the window to input and sound again, and
// flips five frames so that the new mode has settled before the program draws.
void set_screen_mode(double width, double height, double fullscreen);

}  // namespace tvk
