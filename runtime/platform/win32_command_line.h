#pragma once
// A program's words as the one command-line text CreateProcessW takes; the
// program splits it again by the C library's rules and gets each word back as
// given. The program's own word has its '/' turned into '\'.
#include <string>
#include <vector>

namespace tvk::platform {

std::wstring command_line_text(const std::vector<std::string>& words);

}  // namespace tvk::platform
