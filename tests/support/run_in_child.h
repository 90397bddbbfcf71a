#pragma once
// Runs a piece of code in a child process with its standard output and standard
// error captured, for behaviour that ends the process (the error stop). On Linux the
// child is forked; Windows has no fork, so there the test program starts itself
// again, running only the current test, and the child runs the body of the same
// call of run_in_child (see run_in_child_win32.cpp). Such a child runs the test from
// its start, so on Windows a body may use only what it makes itself and what the
// options hand it (the temporary folder), never state the test made before the call.
//
// For a child that must share state with the test (a file it locks, say), Windows
// tests name a child routine instead: a function registered when the program
// starts, run by a child started with run_child_routine before any test runs.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#ifndef _WIN32
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk::testing_support {

struct ChildResult {
    bool exited = false;  // ended through exit(), not a signal (Windows: not a crash)
    int status = -1;      // exit status when exited
    std::string out;
    std::string err;
    std::string debugger;  // Windows: what the child sent to the attached debugger
};

// Exit status of a child whose body returned instead of ending the process.
constexpr int kBodyReturned = 99;

struct ChildOptions {
    std::string tmpdir;   // the system's temporary folder in the child when not empty
    bool traced = false;  // the parent becomes the child's tracer (a debugger is attached)
    bool output_gone = false;  // Windows: standard output is a pipe nobody reads
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

#ifdef _WIN32
ChildResult run_in_child(const std::function<void()>& body, const ChildOptions& options = {});

// The same, started without waiting: finish_child waits for it.
struct StartedChild;
StartedChild* start_in_child(const std::function<void()>& body, const ChildOptions& options = {});
ChildResult finish_child(StartedChild* child);
// What a started child has written on its standard output so far.
std::string output_so_far(const StartedChild* child);
// Ends a started child at once, as a crash or a kill would (finish_child still waits
// for it and collects what it wrote).
void kill_child(StartedChild* child);

// Registers a routine under a name (at static initialisation: `static const bool x =
// child_routine("name", ...)`). In a program started by run_child_routine for that
// name, the routine runs right there with the argument and the process ends with its
// result; otherwise this returns true and nothing else happens.
bool child_routine(const char* name, int (*routine)(const std::string& argument));
// Starts this program again to run the named routine with the argument.
StartedChild* start_child_routine(const char* name, const std::string& argument);
inline ChildResult run_child_routine(const char* name, const std::string& argument) {
    return finish_child(start_child_routine(name, argument));
}
#else
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
#endif

}  // namespace tvk::testing_support
