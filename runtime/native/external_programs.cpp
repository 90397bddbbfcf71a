#include "runtime/native/external_programs.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "runtime/native/command_line.h"
#include "runtime/native/native_hooks.h"
#include "runtime/value/error_state.h"
#include "runtime/value/value_hooks.h"

extern char** environ;

namespace tvk {

namespace {

// Children started without waiting. They are reaped as they end, on later calls, so
// that finished ones do not linger as zombies.
std::vector<pid_t>& unwaited_children() {
    static std::vector<pid_t> children;
    return children;
}

void reap_finished_children() {
    std::vector<pid_t>& children = unwaited_children();
    for (size_t i = 0; i < children.size();) {
        const pid_t r = waitpid(children[i], nullptr, WNOHANG);
        if (r == children[i] || (r < 0 && errno == ECHILD)) {
            children[i] = children.back();
            children.pop_back();
        } else {
            ++i;
        }
    }
}

bool escape_ends() {
    const NativeHooks& hooks = native_hooks();
    return hooks.escape_ends ? hooks.escape_ends() != 0 : true;
}

// Starts the program named by words[0] (looked up on PATH) with the runtime's
// signal handling reset to the defaults. Returns the child's id, or -1.
pid_t spawn(const std::vector<std::string>& words) {
    if (words.empty() || words[0].empty()) return -1;
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);

    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) return -1;
    sigset_t none;
    sigset_t defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    return rc == 0 ? pid : -1;
}

std::string with_forward_slashes(const RtString& text) {
    std::string path(text.data, text.length);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

}  // namespace

void open_document(const RtString& path) {
    const bool ends = escape_ends();
    if (ends) shutdown_runtime_services();
    reap_finished_children();
    const pid_t pid = spawn({"xdg-open", with_forward_slashes(path)});
    if (ends) {
        runtime_stop();
        return;
    }
    if (pid > 0) unwaited_children().push_back(pid);
}

int32_t run_process(const RtString& command_line, int32_t wait, int32_t show_window, double& exit_code) {
    (void)show_window;
    exit_code = 0;
    const NativeHooks& hooks = native_hooks();
    if (hooks.leave_fullscreen) hooks.leave_fullscreen();
    reap_finished_children();

    std::vector<std::string> words = split_command_line(command_line.c_str());
    if (!words.empty()) {
        for (char& c : words[0]) {
            if (c == '\\') c = '/';
        }
    }
    const pid_t pid = spawn(words);
    int32_t started = 0;
    if (pid > 0) {
        started = 1;
        if (wait != 0) {
            int status = 0;
            pid_t r;
            do {
                r = waitpid(pid, &status, 0);
            } while (r < 0 && errno == EINTR);
            if (r == pid) {
                if (WIFEXITED(status)) exit_code = WEXITSTATUS(status);
                else if (WIFSIGNALED(status)) exit_code = 128 + WTERMSIG(status);
            }
        } else {
            unwaited_children().push_back(pid);
        }
    }
    if (hooks.activate_main_window) hooks.activate_main_window();
    return started;
}

}  // namespace tvk
