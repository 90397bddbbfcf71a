#pragma once
// What the display does around the program's file dialogs (file_dialog_commands.h).
#include "runtime/files/file_dialog_commands.h"

namespace tvk {

// Called around the dialog so that the display can make room for a system dialog and
// be restored after it (installed by the graphics device; none by default).
struct FileDialogHooks {
    void (*before)() = nullptr;
    void (*after)() = nullptr;
};
void set_file_dialog_hooks(const FileDialogHooks& hooks);

}  // namespace tvk
