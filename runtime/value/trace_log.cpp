#include "runtime/value/trace_log.h"

#include <cstring>

#include "runtime/platform/files.h"
#include "runtime/platform/system_paths.h"

namespace tvk {

std::string trace_file_path() { return platform::temp_folder() + "ErrorLog.txt"; }

void log_line(const char* text) {
    if (!text) text = "NULL";
    const std::string path = trace_file_path();
    platform::File* file = nullptr;
    for (int attempt = 0; attempt < 5 && !file; ++attempt) {
        file = platform::open_file(
            path, {.access = platform::FileAccess::kAppend, .creation = platform::FileCreation::kOpenOrCreate});
    }
    if (!file) return;
    platform::write_file(file, text, static_cast<int64_t>(std::strlen(text)));
    platform::close_file(file);
}

}  // namespace tvk
