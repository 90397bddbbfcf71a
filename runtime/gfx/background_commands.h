#pragma once
// The background commands of the compiled program, on the process's device: the
// frame background (tile set 0) that presenting draws instead of clearing.
#include "runtime/value/rt_string.h"

namespace tvk {

// The screen as it is now becomes the frame background.
void use_screen_as_background();
// The picture becomes the frame background and is drawn at once; when it cannot be
// loaded, "no such file", and the screen is cleared to black from then on.
void load_background(const RtString& file_name);

}  // namespace tvk
