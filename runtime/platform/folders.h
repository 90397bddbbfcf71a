#pragma once
// The folder service: what a path names, folders made, listed and removed, the
// process's current folder, and the room left on a disk.
//
// Contract: paths are UTF-8 text with '/' between their parts (a backend converts
// them at the system call), and every path handed back uses '/'. Queries follow
// links unless told not to; removals never follow them: removing a link removes
// the link, and removing a tree never reaches outside it through a link.
#include <cstdint>
#include <string>
#include <vector>

namespace tvk::platform {

enum class PathKind : uint8_t {
    kMissing,  // nothing there, or the system cannot say what is
    kFile,
    kFolder,
    kDevice,   // a device, pipe or socket: neither a file nor a folder
};

struct PathInfo {
    PathKind kind = PathKind::kMissing;
    int64_t size = 0;              // bytes, for a file
    int64_t modified_seconds = 0;  // last change of the contents, seconds since 1970-01-01 UTC
};

// What path names. With follow_links = false a link is described itself, as what
// removing it takes: on POSIX every link is a file (remove_file deletes it); a
// Windows backend reports a link to a folder as a folder (remove_folder removes it).
PathInfo path_info(const std::string& path, bool follow_links = true);
inline PathKind path_kind(const std::string& path, bool follow_links = true) {
    return path_info(path, follow_links).kind;
}

// Makes one folder; false when it exists already or its parent is missing.
bool make_folder(const std::string& path);
// Makes the folder and every missing folder above it; true when it exists afterwards.
bool make_folders(const std::string& path);
// Removes an empty folder (or, see path_info, a link that counts as one).
bool remove_folder(const std::string& path);
// Removes whatever path names: a file, a link, or a folder with everything in it.
// True when nothing has that name afterwards.
bool remove_tree(const std::string& path);
// Renames a file or folder within one disk; an existing file at to is replaced.
bool rename_path(const std::string& from, const std::string& to);

struct FolderEntry {
    std::string name;        // bare name, never "." or ".."
    bool is_folder = false;  // following links: a link to a folder lists as a folder
};
// The entries of a folder in the system's order; false when it cannot be read.
bool list_folder(const std::string& path, std::vector<FolderEntry>& entries);

// The process's current folder, without a trailing '/' (unless it is the root);
// empty when the system cannot say.
std::string current_folder();
// Makes path the process's current folder; false with the system's reason when it
// cannot be entered (the current folder then stays as it was).
bool set_current_folder(const std::string& path, std::string& why);

// Bytes the user may still write on the disk holding path; -1 when unknown.
int64_t free_disk_space(const std::string& path);

}  // namespace tvk::platform
