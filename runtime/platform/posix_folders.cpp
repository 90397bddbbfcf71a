// The folder service over POSIX calls; whole trees are made and removed with
// std::filesystem, whose removal does not follow links.
#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "runtime/platform/folders.h"
#include "runtime/platform/posix_path_info.h"

namespace tvk::platform {

PathInfo path_info(const std::string& path, bool follow_links) {
    struct stat info {};
    const int result = follow_links ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    return result == 0 ? path_info_of(info) : PathInfo{};
}

bool make_folder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

bool make_folders(const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
    return path_kind(path) == PathKind::kFolder;
}

bool remove_folder(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

bool remove_tree(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    return path_kind(path, false) == PathKind::kMissing;
}

bool rename_path(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool list_folder(const std::string& path, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* folder = ::opendir(path.c_str());
    if (!folder) return false;
    const std::string prefix = path.empty() || path.back() == '/' ? path : path + "/";
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool is_folder = entry->d_type == DT_DIR;
        // A link, or a file system that does not give the type, is asked about.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            is_folder = path_kind(prefix + name) == PathKind::kFolder;
        }
        entries.push_back({name, is_folder});
    }
    ::closedir(folder);
    return true;
}

std::string current_folder() {
    std::string buffer(1024, '\0');
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

bool set_current_folder(const std::string& path, std::string& why) {
    if (::chdir(path.c_str()) == 0) return true;
    why = std::strerror(errno);
    return false;
}

int64_t free_disk_space(const std::string& path) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0) return -1;
    return static_cast<int64_t>(info.f_bavail) * static_cast<int64_t>(info.f_frsize);
}

}  // namespace tvk::platform
