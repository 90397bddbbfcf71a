// The folder service over the Win32 file functions. A link (a symbolic link or a
// junction) carries the directory attribute when it points at a folder, so it is
// described, listed and removed as one; removing a tree stops at every link.
#include <windows.h>

#include "runtime/platform/folders.h"
#include "runtime/platform/win32_path_info.h"
#include "runtime/platform/win32_text.h"

namespace tvk::platform {

namespace {

// What the link at path points to; missing when it leads nowhere.
PathInfo followed_info(const std::wstring& path) {
    const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    return known ? path_info_of(info) : PathInfo{};
}

// Removes path and, for a real folder, everything in it; never enters a link.
bool remove_all(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    if (folder && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr, 0);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name != L"." && name != L"..") remove_all(path + L"\\" + name);
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
    }
    // A read-only file or folder is made writable first, as deleting it would fail.
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    return folder ? RemoveDirectoryW(path.c_str()) != 0 : DeleteFileW(path.c_str()) != 0;
}

}  // namespace

PathInfo path_info(const std::string& path, bool follow_links) {
    const std::wstring wide = system_path_wide(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return {};
    if (follow_links && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return followed_info(wide);
    return path_info_of(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
}

bool make_folder(const std::string& path) { return CreateDirectoryW(system_path_wide(path).c_str(), nullptr) != 0; }

bool make_folders(const std::string& path) {
    // Each folder from the top down; one that is there already is walked through.
    for (size_t cut = path.find_first_of("/\\", 1); cut != std::string::npos;
         cut = path.find_first_of("/\\", cut + 1)) {
        const std::string upper = path.substr(0, cut);
        if (upper.empty() || upper.back() == ':') continue;  // a drive is no folder to make
        make_folder(upper);
    }
    make_folder(path);
    return path_kind(path) == PathKind::kFolder;
}

bool remove_folder(const std::string& path) { return RemoveDirectoryW(system_path_wide(path).c_str()) != 0; }

bool remove_tree(const std::string& path) {
    remove_all(system_path_wide(path));
    return path_kind(path, false) == PathKind::kMissing;
}

bool rename_path(const std::string& from, const std::string& to) {
    return MoveFileExW(system_path_wide(from).c_str(), system_path_wide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool list_folder(const std::string& path, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::wstring pattern = system_path_wide(path);
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::string name = utf8_from_wide(found.cFileName);
        if (name == "." || name == "..") continue;
        entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
}

std::string current_folder() {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return {};
    std::wstring buffer(n, L'\0');
    const DWORD got = GetCurrentDirectoryW(n, buffer.data());
    if (got == 0 || got >= n) return {};
    buffer.resize(got);
    // "C:\" is the root and keeps its separator; every other folder comes without.
    if (buffer.size() > 3 && buffer.back() == L'\\') buffer.pop_back();
    return runtime_path(buffer);
}

bool set_current_folder(const std::string& path, std::string& why) {
    if (SetCurrentDirectoryW(system_path_wide(path).c_str())) return true;
    why = system_message(GetLastError());
    return false;
}

int64_t free_disk_space(const std::string& path) {
    // The system asks for a folder: a file's own folder answers for it.
    std::string folder = path;
    if (path_kind(path) != PathKind::kFolder) {
        const size_t cut = path.find_last_of("/\\");
        folder = cut == std::string::npos ? "." : path.substr(0, cut + 1);
    }
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(system_path_wide(folder).c_str(), &available, nullptr, nullptr)) return -1;
    return static_cast<int64_t>(available.QuadPart);
}

}  // namespace tvk::platform
