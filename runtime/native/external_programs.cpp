#include "runtime/native/external_programs.h"

#include <string>
#include <vector>

#include "runtime/native/command_line.h"
#include "runtime/native/native_hooks.h"
#include "runtime/platform/processes.h"
#include "runtime/value/error_state.h"
#include "runtime/value/value_hooks.h"

namespace tvk {

namespace {

bool escape_ends() {
    const NativeHooks& hooks = native_hooks();
    return hooks.escape_ends ? hooks.escape_ends() != 0 : true;
}

std::string with_forward_slashes(const RtString& text) {
    std::string path(text.data, text.length);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

}  // namespace

void open_document(const RtString& path) {
    const bool ends = escape_ends();
    if (ends) shutdown_runtime_services();
    platform::reap_finished_programs();
    platform::open_with_system_handler(with_forward_slashes(path));
    if (ends) runtime_stop();
}

int32_t run_process(const RtString& command_line, int32_t wait, int32_t show_window, double& exit_code) {
    exit_code = 0;
    const NativeHooks& hooks = native_hooks();
    if (hooks.leave_fullscreen) hooks.leave_fullscreen();
    platform::reap_finished_programs();

    std::vector<std::string> words = split_command_line(command_line.c_str());
    if (!words.empty()) {
        for (char& c : words[0]) {
            if (c == '\\') c = '/';
        }
    }
    int64_t status = 0;
    const bool started = platform::run_program(words, wait != 0, show_window != 0, status);
    if (started && wait != 0) exit_code = static_cast<double>(status);
    if (hooks.activate_main_window) hooks.activate_main_window();
    return started ? 1 : 0;
}

}  // namespace tvk
