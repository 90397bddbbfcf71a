#include "runtime/files/whole_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "runtime/files/file_record.h"
#include "runtime/files/memory_files.h"
#include "runtime/files/path_names.h"

namespace tvk {

namespace {

bool write_all(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += static_cast<size_t>(w);
    }
    return true;
}

std::string folder_of(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

}  // namespace

bool write_file_whole(const std::string& name, const std::string& bytes) {
    if (name.empty() || is_memory_file_name(name.c_str())) return false;
    const std::string path = system_path(name.c_str());
    if (held_by_another(path)) return false;
    const std::string written = path + ".new";
    remove_file_or_directory(written);
    const int fd = open_retrying(written.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return false;
    const bool kept = write_all(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !kept) {
        ::unlink(written.c_str());
        return false;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) remove_file_or_directory(path);
    if (std::rename(written.c_str(), path.c_str()) != 0) {
        ::unlink(written.c_str());
        return false;
    }
    const int folder = open_retrying(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

}  // namespace tvk
