#include "runtime/files/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/files/path_names.h"

extern char** environ;

namespace tvk {

namespace {

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The order of names ignoring case: both folded to lower case, then compared as bytes;
// names equal that way keep a fixed order by their bytes.
bool name_before(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(fold(a[i]));
        const auto y = static_cast<unsigned char>(fold(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

bool path_is_directory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int32_t delete_file(const RtString& path) { return remove_file_or_directory(system_path(path.c_str())) ? 1 : 0; }

int32_t create_directory(const RtString& path) {
    return mkdir(system_path(path.c_str()).c_str(), 0777) == 0 ? 1 : 0;
}

int32_t file_exists(const RtString& path) {
    struct stat info {};
    return stat(system_path(path.c_str()).c_str(), &info) == 0 && !S_ISDIR(info.st_mode) ? 1 : 0;
}

int32_t directory_exists(const RtString& path) { return path_is_directory(system_path(path.c_str())) ? 1 : 0; }

RtString current_directory() {
    std::string path;
    std::vector<char> buffer(1024);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return RtString("/");
        buffer.resize(buffer.size() * 2);
    }
    path = buffer.data();
    normalise_slashes(path);
    if (path.empty() || path.back() != '/') path += '/';
    return RtString(path.c_str());
}

int32_t set_current_directory(const RtString& path) {
    return chdir(system_path(path.c_str()).c_str()) == 0 ? 1 : 0;
}

RtString get_env(const RtString& name) {
    if (name.empty()) {
        std::string all;
        for (char** entry = environ; entry && *entry; ++entry) {
            all += *entry;
            all += '\n';
        }
        return RtString(all.c_str());
    }
    const char* value = std::getenv(name.c_str());
    return RtString(value ? value : "");
}

void set_env(const RtString& name, const RtString& value) {
    if (name.empty() || std::strchr(name.c_str(), '=')) return;
    if (value.empty()) {
        unsetenv(name.c_str());
    } else {
        setenv(name.c_str(), value.c_str(), 1);
    }
}

int32_t list_directory(const RtString& pattern, StringArray& list) {
    std::vector<std::string> directories;
    std::vector<std::string> files;
    const std::string here = current_directory().c_str();
    if (DIR* folder = opendir(here.c_str())) {
        while (const dirent* entry = readdir(folder)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            if (path_is_directory(here + name)) {
                directories.push_back(name);
            } else if (wildcard_match(pattern.c_str(), name.c_str())) {
                files.push_back(name);
            }
        }
        closedir(folder);
    }
    std::sort(directories.begin(), directories.end(), name_before);
    std::sort(files.begin(), files.end(), name_before);
    array_dim(list, static_cast<int32_t>(directories.size() + files.size()));
    int32_t i = 0;
    for (const std::string& name : directories) list(i++) = RtString(name.c_str());
    for (const std::string& name : files) list(i++) = RtString(name.c_str());
    return static_cast<int32_t>(files.size() + 65536 * directories.size());
}

bool wildcard_match(const char* pattern, const char* name) {
    if (std::strcmp(pattern, "*.*") == 0) return true;
    const char* p = pattern;
    const char* n = name;
    const char* star = nullptr;    // pattern just after the last '*'
    const char* resume = nullptr;  // where the name resumes after a mismatch
    while (*n) {
        if (*p == '*') {
            while (*p == '*') ++p;
            if (!*p) return true;
            star = p;
            resume = n;
            continue;
        }
        const bool same = *p == '?' ? *n != '.' : (*p && fold(*p) == fold(*n));
        if (same) {
            ++p;
            ++n;
            continue;
        }
        if (!star) return false;
        n = ++resume;
        p = star;
    }
    while (*p == '*') ++p;
    return *p == 0;
}

int32_t wildcard_match(const RtString& pattern, const RtString& name) {
    return wildcard_match(pattern.c_str(), name.c_str()) ? 1 : 0;
}

}  // namespace tvk
