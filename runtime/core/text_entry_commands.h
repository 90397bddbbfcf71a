#pragma once
// The program's modal line input: the program waits while the player types a
// line, seeing it drawn over the screen as it was when the input started.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Edits the variable at (x, y) until Enter, one typed character per frame.
void input_text(RtString& variable, double x, double y, int32_t proportional);
// A line typed as input_text types it, starting empty, read as a number.
void input_number(int32_t& value, double x, double y, int32_t proportional);
void input_number(double& value, double x, double y, int32_t proportional);

}  // namespace tvk
