#include "runtime/platform/dialog_program.h"

namespace tvk::platform {

namespace {

std::string& stand_in_program() {
    static std::string program;
    return program;
}

}  // namespace

void set_file_dialog_program(const std::string& program) { stand_in_program() = program; }

const std::string& file_dialog_program() { return stand_in_program(); }

std::vector<std::string> zenity_arguments(bool open, const std::vector<FileDialogFilter>& filters,
                                          const std::string& folder) {
    std::vector<std::string> args = {"--file-selection"};
    if (!open) {
        args.emplace_back("--save");
        args.emplace_back("--confirm-overwrite");
    }
    args.push_back("--filename=" + folder);
    for (const FileDialogFilter& filter : filters) {
        std::string patterns = filter.pattern;
        for (char& c : patterns) {
            if (c == ';') c = ' ';
        }
        args.push_back("--file-filter=" + filter.description + " | " + patterns);
    }
    return args;
}

}  // namespace tvk::platform
