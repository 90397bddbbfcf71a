#pragma once
// The open and save dialogs of a program.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Shows an open (open != 0) or save dialog for the filter "description|pattern|...",
// starting in the current directory, which is the current directory again afterwards.
// The chosen path with '/' separators, or "NO_FILE" when cancelled.
RtString file_dialog(int32_t open, const RtString& filter);

// Called around the dialog so that the display can make room for a system dialog and
// be restored after it (installed by the graphics device; none by default).
struct FileDialogHooks {
    void (*before)() = nullptr;
    void (*after)() = nullptr;
};
void set_file_dialog_hooks(const FileDialogHooks& hooks);

}  // namespace tvk
