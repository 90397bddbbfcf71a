#pragma once
// The system's open and save dialogs. On Linux an external dialog program shows them
// (zenity or kdialog, whichever is installed; without one, or without a display,
// every dialog is cancelled); on Windows the system's common dialogs. Tests point the
// layer at a stand-in program that takes zenity's arguments and prints the chosen
// path (every backend runs it the same way).
#include <optional>
#include <string>
#include <vector>

namespace tvk::platform {

struct FileDialogFilter {
    std::string description;
    std::string pattern;  // one or more patterns separated by ';'
};

// The chosen path, or nothing when the dialog was cancelled or could not be shown.
std::optional<std::string> show_file_dialog(bool open, const std::vector<FileDialogFilter>& filters,
                                            const std::string& initial_folder);

// Uses program (zenity's arguments) instead of looking for a dialog program, shown
// even without a display; an empty path goes back to looking.
void set_file_dialog_program(const std::string& program);

}  // namespace tvk::platform
