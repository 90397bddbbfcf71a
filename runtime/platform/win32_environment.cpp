// The environment in the system's block (what programs started afterwards and SDL
// see) and in the C library's copy (what getenv sees), changed together.
#include <windows.h>

#include <cstdlib>

#include "runtime/platform/environment.h"
#include "runtime/platform/win32_text.h"

namespace tvk::platform {

namespace {

bool allowed_name(const std::string& name) { return !name.empty() && name.find('=') == std::string::npos; }

}  // namespace

std::optional<std::string> environment_variable(const std::string& name) {
    if (!allowed_name(name)) return std::nullopt;
    const std::wstring wide = wide_from_utf8(name);
    std::wstring value(64, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableW(wide.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (n < value.size()) {
            value.resize(n);
            return utf8_from_wide(value);
        }
        value.resize(n);
    }
}

bool set_environment_variable(const std::string& name, const std::string& value) {
    if (!allowed_name(name)) return false;
    const std::wstring wide = wide_from_utf8(name);
    if (!SetEnvironmentVariableW(wide.c_str(), wide_from_utf8(value).c_str())) return false;
    // The C library's copy cannot hold an empty value ("NAME=" removes it there).
    if (!value.empty()) _wputenv(wide_from_utf8(name + "=" + value).c_str());
    return true;
}

void remove_environment_variable(const std::string& name) {
    if (!allowed_name(name)) return;
    SetEnvironmentVariableW(wide_from_utf8(name).c_str(), nullptr);
    _wputenv(wide_from_utf8(name + "=").c_str());
}

std::vector<std::string> environment_entries() {
    std::vector<std::string> entries;
    wchar_t* block = GetEnvironmentStringsW();
    if (!block) return entries;
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
        // "=C:=C:\..." entries are the system's record of each drive's current folder.
        if (*entry != L'=') entries.push_back(utf8_from_wide(entry));
    }
    FreeEnvironmentStringsW(block);
    return entries;
}

}  // namespace tvk::platform
