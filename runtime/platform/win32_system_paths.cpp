// The temporary folder and the executable's path from the system, with '/'
// separators.
#include <windows.h>

#include "runtime/platform/system_paths.h"
#include "runtime/platform/win32_text.h"

namespace tvk::platform {

std::string temp_folder() {
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH + 1) {
        // A system that names no temporary folder gets the traditional one.
        CreateDirectoryW(L"C:\\Temp", nullptr);
        return "C:/Temp/";
    }
    std::string path = runtime_path(std::wstring(buffer, n));
    if (path.back() != '/') path += '/';
    return path;
}

std::string executable_path() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return runtime_path(buffer);
        }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace tvk::platform
