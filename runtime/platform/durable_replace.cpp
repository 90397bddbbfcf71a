// Replacing a file whole, built on the file and folder services alone, so every
// backend replaces files the same way: written beside, flushed, renamed over.
#include "runtime/platform/files.h"

namespace tvk::platform {

namespace {

// Whatever has the beside name goes first; a folder only when it is empty.
void clear_beside(const std::string& beside) {
    if (path_kind(beside, false) == PathKind::kFolder) {
        remove_folder(beside);
    } else {
        remove_file(beside);
    }
}

}  // namespace

std::string beside_path(const std::string& path) { return path + ".new"; }

bool write_file_beside(const std::string& path, const void* bytes, int64_t size) {
    const std::string beside = beside_path(path);
    clear_beside(beside);
    // A new file only: a link planted under the beside name after it was cleared
    // makes the write fail instead of sending the bytes elsewhere.
    File* file = open_file(beside, {.access = FileAccess::kWrite, .creation = FileCreation::kCreateNew});
    if (!file) return false;
    const bool kept = write_file(file, bytes, size) && flush_file(file);
    if (close_file(file) && kept) return true;
    remove_file(beside);
    return false;
}

bool replace_with_beside(const std::string& path) {
    const std::string beside = beside_path(path);
    if (replace_file(beside, path)) return true;
    remove_file(beside);
    return false;
}

bool replace_file_durably(const std::string& path, const void* bytes, int64_t size) {
    return write_file_beside(path, bytes, size) && replace_with_beside(path);
}

}  // namespace tvk::platform
