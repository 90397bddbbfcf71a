#include "runtime/files/file_system.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/files/path_names.h"
#include "runtime/platform/environment.h"
#include "runtime/platform/folders.h"

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

bool path_is_directory(const std::string& path) { return platform::path_kind(path) == platform::PathKind::kFolder; }

}  // namespace

int32_t delete_file(const RtString& path) { return remove_file_or_directory(system_path(path.c_str())) ? 1 : 0; }

int32_t create_directory(const RtString& path) {
    return platform::make_folder(system_path(path.c_str())) ? 1 : 0;
}

int32_t file_exists(const RtString& path) {
    const platform::PathKind kind = platform::path_kind(system_path(path.c_str()));
    return kind != platform::PathKind::kMissing && kind != platform::PathKind::kFolder ? 1 : 0;
}

int32_t directory_exists(const RtString& path) { return path_is_directory(system_path(path.c_str())) ? 1 : 0; }

RtString current_directory() {
    std::string path = platform::current_folder();
    if (path.empty()) return RtString("/");
    normalise_slashes(path);
    if (path.empty() || path.back() != '/') path += '/';
    return RtString(path.c_str());
}

int32_t set_current_directory(const RtString& path) {
    std::string why;
    return platform::set_current_folder(system_path(path.c_str()), why) ? 1 : 0;
}

RtString get_env(const RtString& name) {
    if (name.empty()) {
        std::string all;
        for (const std::string& entry : platform::environment_entries()) {
            all += entry;
            all += '\n';
        }
        return RtString(all.c_str());
    }
    return RtString(platform::environment_variable(name.c_str()).value_or("").c_str());
}

void set_env(const RtString& name, const RtString& value) {
    if (name.empty() || std::strchr(name.c_str(), '=')) return;
    if (value.empty()) {
        platform::remove_environment_variable(name.c_str());
    } else {
        platform::set_environment_variable(name.c_str(), value.c_str());
    }
}

int32_t list_directory(const RtString& pattern, StringArray& list) {
    std::vector<std::string> directories;
    std::vector<std::string> files;
    std::vector<platform::FolderEntry> entries;
    platform::list_folder(current_directory().c_str(), entries);
    for (const platform::FolderEntry& entry : entries) {
        if (entry.is_folder) {
            directories.push_back(entry.name);
        } else if (wildcard_match(pattern.c_str(), entry.name.c_str())) {
            files.push_back(entry.name);
        }
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
