#pragma once
// The process's environment variables.
//
// Contract: names and values are UTF-8 text; a name is never empty and holds no
// '='. Changes are seen by the process itself and by the programs it starts
// afterwards. Main thread only: the system's environment is not guarded against
// changes from two threads at once.
#include <optional>
#include <string>
#include <vector>

namespace tvk::platform {

// The variable's value; nothing when it is not set.
std::optional<std::string> environment_variable(const std::string& name);
// Sets the variable, replacing any value it had; false when the name is not allowed.
bool set_environment_variable(const std::string& name, const std::string& value);
void remove_environment_variable(const std::string& name);
// Every variable as "name=value", in the system's order.
std::vector<std::string> environment_entries();

}  // namespace tvk::platform
