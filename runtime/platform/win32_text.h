#pragma once
// Text at the Windows system calls: the runtime's paths and texts are UTF-8, the
// system's "W" functions take UTF-16. Converted once, at the call.
#include <string>

namespace tvk::platform {

std::wstring wide_from_utf8(const std::string& text);
std::string utf8_from_wide(const std::wstring& text);
std::string utf8_from_wide(const wchar_t* text);

// A runtime path ('/' between its parts) as the system takes it: UTF-16 with every
// '/' turned into '\'.
std::wstring system_path_wide(const std::string& path);
// A path the system gave back, as the runtime hands it on: UTF-8 with every '\'
// turned into '/'.
std::string runtime_path(const std::wstring& path);

// The system's message for an error code, without its line end; empty when it has none.
std::string system_message(unsigned long code);

}  // namespace tvk::platform
