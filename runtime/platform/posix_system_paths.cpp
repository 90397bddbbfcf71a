#include "runtime/platform/system_paths.h"

#include <unistd.h>

#include <cstdlib>

namespace tvk::platform {

std::string temp_folder() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = (dir && *dir) ? dir : "/tmp";
    if (path.back() != '/') path += '/';
    return path;
}

std::string executable_path() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace tvk::platform
