#include "runtime/platform/win32_text.h"

#include <windows.h>

#include <algorithm>

namespace tvk::platform {

std::wstring wide_from_utf8(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string utf8_from_wide(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                        nullptr, nullptr);
    return narrow;
}

std::string utf8_from_wide(const wchar_t* text) { return text ? utf8_from_wide(std::wstring(text)) : std::string(); }

std::wstring system_path_wide(const std::string& path) {
    std::wstring wide = wide_from_utf8(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

std::string runtime_path(const std::wstring& path) {
    std::string text = utf8_from_wide(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::string system_message(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? utf8_from_wide(std::wstring(buffer, n)) : std::string();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace tvk::platform
