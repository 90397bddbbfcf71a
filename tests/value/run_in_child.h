#pragma once
// Runs a piece of code in a forked child with its standard output and standard error
// captured, for behaviour that ends the process (the error stop).
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace tvk::testing_support {

struct ChildResult {
    bool exited = false;  // ended through exit(), not a signal
    int status = -1;      // exit status when exited
    std::string out;
    std::string err;
};

// Exit status of a child whose body returned instead of ending the process.
constexpr int kBodyReturned = 99;

struct ChildOptions {
    std::string tmpdir;   // TMPDIR in the child when not empty
    bool traced = false;  // the parent becomes the child's tracer (a debugger is attached)
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline ChildResult run_in_child(const std::function<void()>& body, const ChildOptions& options = {}) {
    TempDir streams;
    const std::string out_path = streams.file("out");
    const std::string err_path = streams.file("err");
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        std::freopen(out_path.c_str(), "w", stdout);
        std::freopen(err_path.c_str(), "w", stderr);
        if (!options.tmpdir.empty()) setenv("TMPDIR", options.tmpdir.c_str(), 1);
        if (options.traced && ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(98);
        body();
        std::fflush(nullptr);
        _exit(kBodyReturned);
    }
    ChildResult result;
    int status = 0;
    while (waitpid(pid, &status, 0) == pid) {
        if (WIFSTOPPED(status)) {
            // A traced child stops at each signal; let it go on with the signal.
            const int sig = WSTOPSIG(status) == SIGTRAP ? 0 : WSTOPSIG(status);
            ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(sig)));
            continue;
        }
        break;
    }
    result.exited = WIFEXITED(status);
    result.status = result.exited ? WEXITSTATUS(status) : -1;
    result.out = slurp(out_path);
    result.err = slurp(err_path);
    return result;
}

}  // namespace tvk::testing_support
