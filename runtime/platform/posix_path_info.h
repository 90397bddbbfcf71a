#pragma once
// What the POSIX backends of the file and folder services tell of a stat(2) record.
#include <sys/stat.h>

#include "runtime/platform/folders.h"

namespace tvk::platform {

inline PathInfo path_info_of(const struct stat& info) {
    PathInfo out;
    if (S_ISDIR(info.st_mode)) {
        out.kind = PathKind::kFolder;
    } else if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)) {
        out.kind = PathKind::kFile;  // a link met without following it is removed as a file
    } else {
        out.kind = PathKind::kDevice;
    }
    out.size = static_cast<int64_t>(info.st_size);
    out.modified_seconds = static_cast<int64_t>(info.st_mtim.tv_sec);
    return out;
}

}  // namespace tvk::platform
