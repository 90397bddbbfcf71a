#include "runtime/files/path_names.h"

#include <algorithm>

#include "runtime/platform/files.h"

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
    // A path that cannot be examined is treated as a directory, as the system's
    // failure value for attributes has the directory bit set.
    const platform::PathKind kind = platform::path_kind(path, false);
    const bool directory = kind == platform::PathKind::kMissing || kind == platform::PathKind::kFolder;
    return directory ? platform::remove_folder(path) : platform::remove_file(path);
}

}  // namespace tvk
