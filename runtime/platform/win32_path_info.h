#pragma once
// What the Windows backends of the file and folder services tell of a file's
// attributes, size and write time.
#include <windows.h>

#include "runtime/platform/folders.h"

namespace tvk::platform {

// 100-nanosecond ticks from 1601-01-01 to 1970-01-01.
inline constexpr int64_t kTicksTo1970 = 116444736000000000LL;

inline int64_t seconds_since_1970(const FILETIME& time) {
    const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return (ticks - kTicksTo1970) / 10000000;
}

inline PathInfo path_info_of(DWORD attributes, DWORD size_high, DWORD size_low, const FILETIME& written) {
    PathInfo out;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        out.kind = PathKind::kFolder;
    } else if (attributes & FILE_ATTRIBUTE_DEVICE) {
        out.kind = PathKind::kDevice;
    } else {
        out.kind = PathKind::kFile;
        out.size = static_cast<int64_t>((static_cast<uint64_t>(size_high) << 32) | size_low);
    }
    out.modified_seconds = seconds_since_1970(written);
    return out;
}

inline PathInfo path_info_of(const BY_HANDLE_FILE_INFORMATION& info) {
    return path_info_of(info.dwFileAttributes, info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime);
}

}  // namespace tvk::platform
