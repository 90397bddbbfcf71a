// The running process on Windows: the command line as the system holds it, the
// debugger presence query and debug string output, and a console of its own.
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/platform/this_process.h"
#include "runtime/platform/win32_text.h"

namespace tvk::platform {

std::string command_line(int argc, char** argv) {
    if (const wchar_t* line = GetCommandLineW()) return utf8_from_wide(line);
    std::string text;
    for (int i = 0; i < argc; ++i) {
        if (!text.empty()) text += ' ';
        text += argv[i];
    }
    return text;
}

bool debugger_attached() { return IsDebuggerPresent() != 0; }

void debug_output(const char* bytes, size_t length) {
    OutputDebugStringA(std::string(bytes, length).c_str());
}

// Writing to a closed pipe fails with an error on Windows; there is no signal to quiet.
void quiet_broken_pipe() {}

bool attach_console() {
    if (GetConsoleWindow() == nullptr && !AllocConsole()) return false;
    FILE* stream = nullptr;
    freopen_s(&stream, "CONIN$", "r", stdin);
    freopen_s(&stream, "CONOUT$", "w", stdout);
    freopen_s(&stream, "CONOUT$", "w", stderr);
    return true;
}

}  // namespace tvk::platform
