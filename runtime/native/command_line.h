#pragma once
// Splitting one command-line text into the program and its arguments.
#include <string>
#include <vector>

namespace tvk {

// Words are separated by spaces and tabs; double quotes group a word that holds
// spaces. Backslashes are literal except before a double quote: 2n backslashes and a
// quote give n backslashes and open or close the group, 2n+1 give n backslashes and a
// literal quote. Two quotes in a row inside a group give one literal quote.
std::vector<std::string> split_command_line(const char* text);

}  // namespace tvk
