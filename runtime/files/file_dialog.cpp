#include "runtime/files/file_dialog.h"

#include <string>
#include <vector>

#include "runtime/files/file_system.h"
#include "runtime/files/path_names.h"
#include "runtime/platform/file_dialogs.h"

namespace tvk {

namespace {

FileDialogHooks& dialog_hooks() {
    static FileDialogHooks hooks;
    return hooks;
}

// "Text|*.txt|All|*.*" → pairs of description and pattern; a description without a
// pattern is dropped.
std::vector<platform::FileDialogFilter> parse_filter(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < text.size()) {
        const size_t bar = text.find('|', start);
        parts.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<platform::FileDialogFilter> filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) filters.push_back({parts[i], parts[i + 1]});
    return filters;
}

}  // namespace

void set_file_dialog_hooks(const FileDialogHooks& hooks) { dialog_hooks() = hooks; }

RtString file_dialog(int32_t open, const RtString& filter) {
    const RtString before = current_directory();
    if (dialog_hooks().before) dialog_hooks().before();
    const auto chosen = platform::show_file_dialog(open != 0, parse_filter(filter.c_str()), before.c_str());
    set_current_directory(before);
    if (dialog_hooks().after) dialog_hooks().after();
    if (!chosen) return RtString("NO_FILE");
    std::string path = *chosen;
    normalise_slashes(path);
    return RtString(path.c_str());
}

}  // namespace tvk
