#ifdef _WIN32
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "runtime/platform/environment.h"
#include "runtime/platform/win32_text.h"
#include "support/run_command.h"

namespace tvk::testing_support {

std::string run_command(const std::string& command_line, int* status, const CommandRun& how) {
    if (status) *status = -1;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inheritable, 0)) return "<cannot run>";
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);

    // The child inherits this process's environment with the variables changed.
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    for (const auto& [name, value] : how.variables) {
        saved.emplace_back(name, platform::environment_variable(name));
        platform::set_environment_variable(name, value);
    }
    // Files named for the streams take them; the pipe takes what is left.
    const auto open_stream = [&](const std::string& path) {
        if (path.empty()) return write_end;
        return CreateFileW(platform::system_path_wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE out = open_stream(how.out_file);
    const HANDLE err = open_stream(how.err_file);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = out;
    start.hStdError = err;
    start.hStdInput = INVALID_HANDLE_VALUE;
    PROCESS_INFORMATION child{};
    std::wstring line = platform::wide_from_utf8(command_line);
    const std::wstring folder = platform::system_path_wide(how.folder);
    // Wine now and then refuses a start while the machine is loaded: try again.
    bool started = false;
    DWORD start_error = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0) Sleep(100);
        started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                 folder.empty() ? nullptr : folder.c_str(), &start, &child) != 0;
        if (!started) start_error = GetLastError();
    }
    for (const auto& [name, value] : saved) {
        if (value) {
            platform::set_environment_variable(name, *value);
        } else {
            platform::remove_environment_variable(name);
        }
    }
    CloseHandle(write_end);
    if (out != write_end && out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (err != write_end && err != INVALID_HANDLE_VALUE) CloseHandle(err);
    std::string output;
    char buffer[4096];
    DWORD n = 0;
    while (started && ReadFile(read_end, buffer, sizeof buffer, &n, nullptr) && n > 0) output.append(buffer, n);
    CloseHandle(read_end);
    if (!started) return "<cannot run: error " + std::to_string(start_error) + ">";
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    if (status) *status = static_cast<int>(code);
    std::string text;
    for (size_t i = 0; i < output.size(); ++i) {
        if (output[i] == '\r' && i + 1 < output.size() && output[i + 1] == '\n') continue;
        text += output[i];
    }
    return text;
}

}  // namespace tvk::testing_support
#endif
