// The copy number of a running program, built on the file service alone: copy n
// holds the lock of "tavrick-<program>-copy-<n>.lock" in the temporary folder. The
// files stay when the copies end; the system drops their locks.
#include <memory>
#include <string>

#include "runtime/platform/files.h"
#include "runtime/platform/system_paths.h"
#include "runtime/platform/window.h"

namespace tvk::platform {

namespace {

// Copies beyond this many all get number 0: their windows open where the first's does.
constexpr int32_t kCopyNumbers = 16;

// The program name as a file-name part: letters and digits kept, the rest '_'.
std::string name_part(const std::string& program_name) {
    std::string part;
    for (const char c : program_name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        part += plain ? c : '_';
    }
    return part.empty() ? "program" : part;
}

}  // namespace

int32_t program_copy_number(const std::string& program_name) {
    // The lock is held by the open file, kept open (and reachable) for the whole run on purpose.
    static int32_t number = -1;
    static std::unique_ptr<File, bool (*)(File*)> held_lock{nullptr, close_file};
    if (number >= 0) return number;
    const std::string stem = temp_folder() + "tavrick-" + name_part(program_name) + "-copy-";
    number = 0;
    for (int32_t n = 0; n < kCopyNumbers; ++n) {
        const FileOpening how{.access = FileAccess::kReadWrite, .creation = FileCreation::kOpenOrCreate,
                              .exclusive = true};
        if (File* lock = open_file(stem + std::to_string(n) + ".lock", how)) {
            held_lock.reset(lock);
            number = n;
            break;
        }
    }
    return number;
}

}  // namespace tvk::platform
