// The environment through the C library's table of variables.
#include <cstdlib>
#include <cstring>

#include "runtime/platform/environment.h"

extern char** environ;

namespace tvk::platform {

namespace {

bool allowed_name(const std::string& name) { return !name.empty() && name.find('=') == std::string::npos; }

}  // namespace

std::optional<std::string> environment_variable(const std::string& name) {
    if (!allowed_name(name)) return std::nullopt;
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

bool set_environment_variable(const std::string& name, const std::string& value) {
    return allowed_name(name) && ::setenv(name.c_str(), value.c_str(), 1) == 0;
}

void remove_environment_variable(const std::string& name) {
    if (allowed_name(name)) ::unsetenv(name.c_str());
}

std::vector<std::string> environment_entries() {
    std::vector<std::string> entries;
    for (char** entry = environ; entry && *entry; ++entry) entries.emplace_back(*entry);
    return entries;
}

}  // namespace tvk::platform
