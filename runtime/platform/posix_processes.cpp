// The process service over posix_spawn and waitpid; documents go to "xdg-open".
#include "runtime/platform/processes.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace tvk::platform {

namespace {

// Children left to run. Each is reaped once it has ended, so that it does not
// linger as a zombie.
std::vector<pid_t>& running_children() {
    static std::vector<pid_t> children;
    return children;
}

// Starts words[0] (looked up on PATH) with the runtime's signal handling reset to
// the defaults: the runtime ignores SIGPIPE and may change SIGCHLD, and a child
// inherits ignored signals. Returns the child's id, or -1.
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

int64_t wait_for(pid_t pid) {
    int status = 0;
    pid_t r;
    do {
        r = waitpid(pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    if (r != pid) return 0;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 0;
}

}  // namespace

bool run_program(const std::vector<std::string>& words, bool wait, bool show_window, int64_t& exit_status) {
    (void)show_window;  // a child's windows are its own business here
    const pid_t pid = spawn(words);
    if (pid <= 0) return false;
    if (wait) {
        exit_status = wait_for(pid);
    } else {
        running_children().push_back(pid);
    }
    return true;
}

void reap_finished_programs() {
    std::vector<pid_t>& children = running_children();
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

bool open_with_system_handler(const std::string& document) {
    const pid_t pid = spawn({"xdg-open", document});
    if (pid <= 0) return false;
    running_children().push_back(pid);
    return true;
}

}  // namespace tvk::platform
