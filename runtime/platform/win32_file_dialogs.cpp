// The system's common open and save dialogs, owned by the thread's active window
// (the program's main window); or, when a test names one, the stand-in program,
// run with zenity's arguments and its answer read from its standard output.
#include <windows.h>
#include <commdlg.h>

#include "runtime/platform/dialog_program.h"
#include "runtime/platform/file_dialogs.h"
#include "runtime/platform/win32_command_line.h"
#include "runtime/platform/win32_text.h"

namespace tvk::platform {

namespace {

// Starts the program with the write end of a pipe as its standard output and no
// other handle of this process; null when it cannot be started.
HANDLE start_with_output(std::wstring line, HANDLE output) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::string storage(size, '\0');
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size)) return nullptr;
    HANDLE inherited[] = {output};
    UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited, sizeof inherited,
                              nullptr, nullptr);
    STARTUPINFOEXW start{};
    start.StartupInfo.cb = sizeof start;
    start.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    start.StartupInfo.hStdOutput = output;
    start.lpAttributeList = attributes;
    PROCESS_INFORMATION child{};
    const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                        EXTENDED_STARTUPINFO_PRESENT | CREATE_NO_WINDOW, nullptr, nullptr,
                                        &start.StartupInfo, &child) != 0;
    DeleteProcThreadAttributeList(attributes);
    if (!started) return nullptr;
    CloseHandle(child.hThread);
    return child.hProcess;
}

// What the program printed, when it ended with status 0 and printed something.
std::optional<std::string> run_for_output(const std::string& program, const std::vector<std::string>& args) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inheritable, 0)) return std::nullopt;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    std::vector<std::string> words = {program};
    words.insert(words.end(), args.begin(), args.end());
    const HANDLE child = start_with_output(command_line_text(words), write_end);
    CloseHandle(write_end);  // the child's copy is the only writer left: its end is the pipe's end
    std::string output;
    if (child) {
        char buffer[1024];
        DWORD n = 0;
        while (ReadFile(read_end, buffer, sizeof buffer, &n, nullptr) && n > 0) output.append(buffer, n);
    }
    CloseHandle(read_end);
    if (!child) return std::nullopt;
    WaitForSingleObject(child, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(child, &status);
    CloseHandle(child);
    if (status != 0) return std::nullopt;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    if (output.empty()) return std::nullopt;
    return output;
}

// "Text\0*.txt\0All\0*.*\0\0": the system's filter format. Patterns already use ';'.
std::wstring filter_text(const std::vector<FileDialogFilter>& filters) {
    std::wstring text;
    for (const FileDialogFilter& filter : filters) {
        text += wide_from_utf8(filter.description) + L'\0';
        text += wide_from_utf8(filter.pattern) + L'\0';
    }
    text += L'\0';
    return text;
}

}  // namespace

std::optional<std::string> show_file_dialog(bool open, const std::vector<FileDialogFilter>& filters,
                                            const std::string& initial_folder) {
    if (!file_dialog_program().empty()) {
        return run_for_output(file_dialog_program(), zenity_arguments(open, filters, initial_folder));
    }
    const std::wstring filter = filter_text(filters);
    const std::wstring folder = system_path_wide(initial_folder);
    wchar_t chosen[1024] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filters.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = sizeof chosen / sizeof chosen[0];
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    const BOOL taken = open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!taken || chosen[0] == 0) return std::nullopt;
    return utf8_from_wide(chosen);
}

}  // namespace tvk::platform
