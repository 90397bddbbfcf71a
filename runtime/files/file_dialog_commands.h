#pragma once
// The program's open and save dialogs.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Shows an open (open != 0) or save dialog for the filter "description|pattern|...",
// starting in the current directory, which is the current directory again afterwards.
// The chosen path with '/' separators, or "NO_FILE" when cancelled.
RtString file_dialog(int32_t open, const RtString& filter);

}  // namespace tvk
