#include "runtime/value/trace_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "runtime/platform/system_paths.h"

namespace tvk {

std::string trace_file_path() { return platform::temp_folder() + "ErrorLog.txt"; }

void log_line(const char* text) {
    if (!text) text = "NULL";
    const std::string path = trace_file_path();
    int fd = -1;
    for (int attempt = 0; attempt < 5 && fd < 0; ++attempt) {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
    if (fd < 0) return;
    size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = ::write(fd, text, left);
        if (n <= 0) break;
        text += n;
        left -= static_cast<size_t>(n);
    }
    ::close(fd);
}

}  // namespace tvk
