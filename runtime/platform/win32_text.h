#pragma once
// Text at the Windows system calls: the runtime's paths and texts are UTF-8, the
// system's "W" functions take UTF-16. Converted once, at the call.
#include <string>

namespace tvk::platform {

std::wstring wide_from_utf8(const std::string& text);
std::string utf8_from_wide(const std::wstring& text);

}  // namespace tvk::platform
