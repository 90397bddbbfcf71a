#include "runtime/files/path_names.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace tvk {

std::string system_path(const char* name) {
    std::string path = name ? name : "";
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

uint32_t normalise_slashes(RtString& text) {
    std::replace(text.data, text.data + text.length, '\\', '/');
    return text.length;
}

void normalise_slashes(std::string& text) { std::replace(text.begin(), text.end(), '\\', '/'); }

bool remove_file_or_directory(const std::string& path) {
    struct stat info {};
    // A path that cannot be examined is treated as a directory, as the system's
    // failure value for attributes has the directory bit set.
    const bool directory = lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode);
    return directory ? rmdir(path.c_str()) == 0 : unlink(path.c_str()) == 0;
}

}  // namespace tvk
