#include "runtime/core/working_folder.h"

#include <cstdio>

#include "runtime/platform/folders.h"
#include "runtime/platform/system_paths.h"

namespace tvk {

std::string executable_path_for_start_up() {
    std::string exe = platform::executable_path().substr(0, 1024);
    for (char& c : exe) {
        if (c == '\\') c = '/';
    }
    return exe;
}

std::string folder_of(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(0, cut);
}

void enter_folder(const std::string& folder) {
    if (folder.empty()) return;
    std::string why;
    if (platform::set_current_folder(folder, why)) return;
    std::fprintf(stderr,
                 "warning: cannot enter the program's folder %s (%s); media and files are "
                 "looked up from the folder the program was started in\n",
                 folder.c_str(), why.c_str());
    std::fflush(stderr);
}

}  // namespace tvk
