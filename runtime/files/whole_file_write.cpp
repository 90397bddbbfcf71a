#include "runtime/files/whole_file_write.h"

#include "runtime/files/memory_files.h"
#include "runtime/files/path_names.h"
#include "runtime/platform/files.h"

namespace tvk {

bool write_file_whole(const std::string& name, const std::string& bytes) {
    if (name.empty() || is_memory_file_name(name.c_str())) return false;
    const std::string path = system_path(name.c_str());
    if (platform::file_is_held(path)) return false;
    if (!platform::write_file_beside(path, bytes.data(), static_cast<int64_t>(bytes.size()))) return false;
    // Only now that the new bytes are safe beside it: an empty directory of that
    // name goes, as opening a file for writing removes one.
    if (platform::path_kind(path) == platform::PathKind::kFolder) remove_file_or_directory(path);
    return platform::replace_with_beside(path);
}

}  // namespace tvk
