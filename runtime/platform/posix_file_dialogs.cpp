// The file dialogs through zenity or kdialog, or the stand-in a test names.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "runtime/platform/dialog_program.h"
#include "runtime/platform/file_dialogs.h"

extern char** environ;

namespace tvk::platform {

namespace {

enum class DialogKind { kZenity, kKdialog };

std::string find_on_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return {};
}

std::vector<std::string> kdialog_arguments(bool open, const std::vector<FileDialogFilter>& filters,
                                           const std::string& folder) {
    std::string filter_text;
    for (const FileDialogFilter& filter : filters) {
        if (!filter_text.empty()) filter_text += '\n';
        std::string patterns = filter.pattern;
        for (char& c : patterns) {
            if (c == ';') c = ' ';
        }
        filter_text += patterns + "|" + filter.description;
    }
    return {open ? "--getopenfilename" : "--getsavefilename", folder, filter_text};
}

// Runs the program and returns what it printed when it ended with status 0.
std::optional<std::string> run_for_output(const std::string& program, const std::vector<std::string>& args) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    std::string output;
    if (spawned == 0) {
        char buffer[1024];
        for (;;) {
            const ssize_t n = read(pipe_ends[0], buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            output.append(buffer, static_cast<size_t>(n));
        }
    }
    close(pipe_ends[0]);
    if (spawned != 0) return std::nullopt;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    if (output.empty()) return std::nullopt;
    return output;
}

}  // namespace

std::optional<std::string> show_file_dialog(bool open, const std::vector<FileDialogFilter>& filters,
                                            const std::string& initial_folder) {
    std::string program = file_dialog_program();
    DialogKind kind = DialogKind::kZenity;
    if (program.empty()) {
        const char* x11 = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if (!(x11 && *x11) && !(wayland && *wayland)) return std::nullopt;
        program = find_on_path("zenity");
        if (program.empty()) {
            program = find_on_path("kdialog");
            kind = DialogKind::kKdialog;
        }
        if (program.empty()) return std::nullopt;
    }
    const std::vector<std::string> args = kind == DialogKind::kZenity
                                              ? zenity_arguments(open, filters, initial_folder)
                                              : kdialog_arguments(open, filters, initial_folder);
    return run_for_output(program, args);
}

}  // namespace tvk::platform
