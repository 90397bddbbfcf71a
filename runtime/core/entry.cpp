#include "runtime/core/entry.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "runtime/core/clock.h"
#include "runtime/core/core_state.h"
#include "runtime/core/program_settings.h"
#include "runtime/core/service_hooks.h"
#include "runtime/core/shutdown.h"
#include "runtime/core/trace_log.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/scene_3d.h"
#include "runtime/platform/system_paths.h"
#include "runtime/platform/system_ui.h"
#include "runtime/platform/window.h"
#include "runtime/value/error_state.h"

namespace tvk {

namespace {

std::string& failure_reason() {
    static std::string reason;
    return reason;
}

void set_frame_timestamps() {
    CoreState& core = core_state();
    core.current_frame_time = core.previous_frame_time = core.start_time = clock_ms();
}

// A fresh trace file: a directory in its place is removed, an old file deleted.
void start_trace_file() {
    const std::string path = trace_file_path();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        std::filesystem::remove_all(path, ec);
    } else {
        std::filesystem::remove(path, ec);
    }
    log_line("Start new log...\n");
}

}  // namespace

const char* init_failure_reason() { return failure_reason().c_str(); }

bool init_runtime(void* instance, int32_t show_command, const char* title) {
    CoreState& core = core_state();
    const ProgramSettings& settings = runtime_settings();
    failure_reason().clear();

    start_trace_file();
    core.auto_pause = 1;
    log_line("timer\n");
    clock_init();
    log_line("rbow\n");
    OpenGLRainbows& device = create_graphics_device();
    device.depth_stencil_buffer = settings.depth_stencil_buffer != 0 ? 1 : 0;
    log_line("rbow init\n");
    if (!open_window(device, instance, settings.screen_width, settings.screen_height, 0,
                     settings.frame_rate, settings.multisample_samples)) {
        failure_reason() = open_window_failure();
        return false;
    }

    core.main_window = device.window;
    platform::set_window_title(device.window, title ? title : "");
    log_line("Cptn\n");
    core.stored_title = RtString(title ? title : "");
    platform::set_screensaver_allowed(false);

    service_random_seed(static_cast<int32_t>(program_clock_ms()));
    log_line("Network\n");
    service_create_network_state();
    create_scene_3d(device);
    log_line("Input\n");
    service_create_input_object();
    log_line("Window mode\n");
    if (settings.fullscreen == 0) {
        leave_fullscreen(device);
    } else {
        enter_fullscreen(device);
    }

    log_line("Create DXin\n");
    service_create_input_devices(device.window, settings.hide_system_pointer != 0);
    log_line("reptr\n");
    service_give_input_window(device.window);

    log_line("getexe\n");
    std::string exe = platform::executable_path().substr(0, 1024);
    for (char& c : exe) {
        if (c == '\\') c = '/';
    }
    const size_t cut = exe.find_last_of('/');
    core.executable_folder = cut == std::string::npos ? exe : exe.substr(0, cut);
    log_line("cd\n");
    if (!core.executable_folder.empty() && chdir(core.executable_folder.c_str()) != 0) {
        // The folder stays as it was; relative media names then resolve from there.
    }
    log_line(("exepath=curdir= " + core.executable_folder + "\n").c_str());

    service_set_media_archives(exe.c_str());
    set_frame_timestamps();

    set_clear_colour(0);
    present_frame(device, nullptr);
    reset_2d_state(device);
    service_install_builtin_font(0);
    int32_t width = 0, height = 0;
    get_screen_size(device, width, height);

    static const char* const kFontFiles[] = {"Media/smalfont.png", "Media/smalfont.bmp",
                                             "smalfont.png", "smalfont.bmp"};
    for (const char* name : kFontFiles) {
        char resolved[1024];
        if (service_resolve_media_path(name, resolved, sizeof resolved)) {
            service_load_font(name, 0);
            break;
        }
    }

    service_set_font(0);
    core.paused = 0;
    platform::set_arrow_pointer();
    set_frame_timestamps();
    if (show_command == kShowHidden) {
        hide_window(device);
        platform::hide_window(device.window);
    }
    service_apply_pointer_setting(settings.hide_system_pointer == 0);
    service_resolve_declarations();
    service_create_sound(device.window);
    service_connect_host_hooks();
    log_line("Init Finalized\n");
    return true;
}

}  // namespace tvk
