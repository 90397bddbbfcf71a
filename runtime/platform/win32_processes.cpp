// The process service over CreateProcessW and ShellExecuteExW. A Windows program
// receives one command-line text and splits it itself by the C library's rules,
// so the words are quoted here such that those rules give each one back exactly.
// The system keeps nothing of a child whose handles are closed: nothing to reap.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>

#include "runtime/platform/processes.h"
#include "runtime/platform/win32_command_line.h"
#include "runtime/platform/win32_text.h"

namespace tvk::platform {

namespace {

// An argument as the C library's splitting gives it back: in double quotes when
// it is empty or holds blanks or quotes; a quote inside is escaped, and a run of
// backslashes is doubled only where a quote follows it.
std::wstring quoted_argument(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) return word;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\');
    out.push_back(L'"');
    return out;
}

// The program's own word is read up to its closing quote, with no escapes at all
// (a file name holds no quote).
std::wstring quoted_program(const std::wstring& program) {
    if (program.find_first_of(L" \t") == std::wstring::npos) return program;
    return L"\"" + program + L"\"";
}

// "https://...", "mailto:..." are addresses and keep their slashes; "C:/x" and
// everything else is a path.
bool is_address(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
               c == '.';
    });
}

}  // namespace

std::wstring command_line_text(const std::vector<std::string>& words) {
    if (words.empty()) return {};
    std::wstring line = quoted_program(system_path_wide(words[0]));
    for (size_t i = 1; i < words.size(); ++i) line += L" " + quoted_argument(wide_from_utf8(words[i]));
    return line;
}

bool run_program(const std::vector<std::string>& words, bool wait, bool show_window, int64_t& exit_status) {
    if (words.empty() || words[0].empty()) return false;
    std::wstring line = command_line_text(words);

    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESHOWWINDOW;
    start.wShowWindow = static_cast<WORD>(show_window ? SW_SHOWNORMAL : SW_HIDE);
    PROCESS_INFORMATION child{};
    // No program name apart: the system finds the first word as a command line's
    // first word is found (the program's folder, the current folder, the system's
    // folders, then PATH; ".exe" added when it has no extension). No handle of this
    // process is inherited.
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &start, &child)) {
        return false;
    }
    CloseHandle(child.hThread);
    if (wait) {
        WaitForSingleObject(child.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(child.hProcess, &code)) exit_status = code;
    }
    CloseHandle(child.hProcess);
    return true;
}

void reap_finished_programs() {}

bool open_with_system_handler(const std::string& document) {
    const std::wstring target = is_address(document) ? wide_from_utf8(document) : system_path_wide(document);
    // Some shell handlers are COM objects and want the calling thread in an apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    // NOASYNC: the program may end right after this returns (escape ends it).
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.lpVerb = L"open";
    run.lpFile = target.c_str();
    run.nShow = SW_SHOWNORMAL;
    const bool started = ShellExecuteExW(&run) != 0;
    if (run.hProcess) CloseHandle(run.hProcess);
    if (SUCCEEDED(com)) CoUninitialize();
    return started;
}

}  // namespace tvk::platform
