#pragma once
// The part of the file dialogs every backend shares: the stand-in program a test
// names (set_file_dialog_program), and the arguments it takes, which are those of
// zenity, the dialog program the Linux backend looks for first.
#include <string>
#include <vector>

#include "runtime/platform/file_dialogs.h"

namespace tvk::platform {

// The program named by set_file_dialog_program; empty when none is.
const std::string& file_dialog_program();

// zenity's arguments for an open or save dialog with these filters, starting in folder.
std::vector<std::string> zenity_arguments(bool open, const std::vector<FileDialogFilter>& filters,
                                          const std::string& folder);

}  // namespace tvk::platform
