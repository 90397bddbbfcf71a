#include "runtime/platform/this_process.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace tvk::platform {

namespace {

void add_word(std::string& text, const std::string& word) {
    if (!text.empty()) text += ' ';
    if (word.empty() || word.find_first_of(" \t") != std::string::npos) {
        text += '"' + word + '"';
    } else {
        text += word;
    }
}

}  // namespace

std::string command_line(int argc, char** argv) {
    std::string text;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string word;
    bool any = false;
    while (std::getline(in, word, '\0')) {
        add_word(text, word);
        any = true;
    }
    if (!any) {
        for (int i = 0; i < argc; ++i) add_word(text, argv[i]);
    }
    return text;
}

// A tracer (gdb, strace) shows as a non-zero TracerPid.
bool debugger_attached() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
    }
    return false;
}

void debug_output(const char* bytes, size_t length) {
    std::fwrite(bytes, 1, length, stderr);
    std::fflush(stderr);
}

void quiet_broken_pipe() { std::signal(SIGPIPE, SIG_IGN); }

// A program started from a terminal already writes there; one started without
// (from a desktop menu) has nowhere to show it, and a console cannot be made.
bool attach_console() { return isatty(STDOUT_FILENO) != 0 || isatty(STDERR_FILENO) != 0; }

}  // namespace tvk::platform
