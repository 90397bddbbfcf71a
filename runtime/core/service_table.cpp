#include "runtime/core/service_table.h"

#include "runtime/audio/music.h"
#include "runtime/audio/sound_device.h"
#include "runtime/core/core_state.h"
#include "runtime/core/working_folder.h"
#include "runtime/files/channels.h"
#include "runtime/files/media_archive.h"
#include "runtime/gfx/builtin_font.h"
#include "runtime/gfx/display_commands.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/scene_3d.h"
#include "runtime/gfx/targets/shader_commands.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/input/input_device.h"
#include "runtime/native/native_registry.h"
#include "runtime/net/socket_table.h"
#include "runtime/platform/folders.h"
#include "runtime/platform/system_ui.h"
#include "runtime/platform/window.h"
#include "runtime/value/clock.h"
#include "runtime/value/isaac_random.h"
#include "runtime/value/program_settings.h"
#include "runtime/value/trace_log.h"

namespace tvk {

namespace {

void set_frame_timestamps() {
    CoreState& core = core_state();
    core.current_frame_time = core.previous_frame_time = core.start_time = clock_ms();
}

// A fresh trace file: a directory in its place is removed, an old file deleted.
bool start_trace_file(StartUp&) {
    platform::remove_tree(trace_file_path());
    log_line("Start new log...\n");
    return true;
}

bool allow_pausing(StartUp&) {
    core_state().auto_pause = 1;
    return true;
}

bool start_clock(StartUp&) {
    log_line("timer\n");
    clock_init();
    return true;
}

bool open_graphics_device(StartUp& s) {
    const ProgramSettings& settings = runtime_settings();
    log_line("rbow\n");
    OpenGLRainbows& device = create_graphics_device();
    device.display.depth_stencil_buffer = settings.depth_stencil_buffer != 0 ? 1 : 0;
    device.display.scaling.requested = settings.scale_to_window != 0 ? 1 : 0;
    log_line("rbow init\n");
    if (!open_window(device, s.instance, settings.screen_width, settings.screen_height, 0,
                     settings.frame_rate, settings.multisample_samples)) {
        s.failure = device.display.failure;
        return false;
    }
    s.device = &device;
    return true;
}

// The drawing state every frame starts from.
void start_frame_drawing() {
    if (OpenGLRainbows* device = graphics_device()) reset_frame_drawing(*device);
}

void destroy_device() {
    // The window outlives the device: it is destroyed last, after the media temporaries.
    if (OpenGLRainbows* device = graphics_device()) {
        if (device->display.window == core_state().main_window) device->display.window = nullptr;
    }
    destroy_graphics_device();
}

bool title_main_window(StartUp& s) {
    CoreState& core = core_state();
    core.main_window = s.device->display.window;
    platform::set_window_title(s.device->display.window, s.title);
    log_line("Cptn\n");
    core.stored_title = RtString(s.title);
    platform::set_screensaver_allowed(false);
    return true;
}

void destroy_main_window() {
    CoreState& core = core_state();
    platform::set_screensaver_allowed(true);
    platform::destroy_window(core.main_window);
    core.main_window = nullptr;
    platform::video_stop();
}

bool seed_random(StartUp&) {
    random_seed(static_cast<int32_t>(program_clock_ms()));
    return true;
}

bool start_network(StartUp&) {
    log_line("Network\n");
    create_network_state();
    return true;
}

bool create_scene(StartUp& s) {
    create_scene_3d(*s.device);
    return true;
}

void advance_scene() {
    if (Scene3D* scene = scene_3d()) advance_scene_frame(*scene);
}

void reset_scene() {
    if (Scene3D* scene = scene_3d()) reset_scene_frame(*scene);
}

void shaders_off() { use_shader(-1); }

void delete_shaders() {
    if (OpenGLRainbows* device = graphics_device()) delete_all_shaders(*device);
}

bool create_input(StartUp&) {
    log_line("Input\n");
    create_input_object();
    return true;
}

bool set_window_mode(StartUp& s) {
    log_line("Window mode\n");
    if (runtime_settings().fullscreen == 0) {
        leave_fullscreen(*s.device);
    } else {
        enter_fullscreen(*s.device);
    }
    return true;
}

bool open_input_devices(StartUp& s) {
    log_line("Create DXin\n");
    create_input_devices(s.device->display.window, runtime_settings().hide_system_pointer != 0);
    log_line("reptr\n");
    if (InputDevice* input = input_device()) input->window = s.device->display.window;
    return true;
}

bool enter_executable_folder(StartUp& s) {
    log_line("getexe\n");
    s.executable = executable_path_for_start_up();
    const std::string folder = folder_of(s.executable);
    core_state().executable_folder = folder;
    core_state().start_folder = platform::current_folder();
    log_line("cd\n");
    enter_folder(folder);
    log_line(("exepath=curdir= " + folder + "\n").c_str());
    return true;
}

// Channels close, and the program's relative names resolve, from the folder the
// runtime started the program in.
void return_to_executable_folder() { enter_folder(core_state().executable_folder); }

bool open_media_archives(StartUp& s) {
    set_media_archives(s.executable.c_str(), s.executable.c_str());
    return true;
}

bool take_frame_timestamps(StartUp&) {
    set_frame_timestamps();
    return true;
}

bool present_first_frame(StartUp& s) {
    set_clear_colour(0);
    present_frame(*s.device, nullptr);
    reset_2d_state(*s.device);
    return true;
}

bool install_font(StartUp& s) {
    install_builtin_font(*s.device, 0);
    int32_t width = 0, height = 0;
    get_screen_size(*s.device, width, height);
    return true;
}

bool load_font_file(StartUp&) {
    static const char* const kFontFiles[] = {"Media/smalfont.png", "Media/smalfont.bmp",
                                             "smalfont.png", "smalfont.bmp"};
    for (const char* name : kFontFiles) {
        std::string resolved;
        if (resolve_media_path(media_archives().memory_files, name, resolved, true)) {
            load_font(RtString(name), 0);
            break;
        }
    }
    return true;
}

bool ready_to_run(StartUp&) {
    set_font(0);
    core_state().paused = 0;
    platform::set_arrow_pointer();
    set_frame_timestamps();
    return true;
}

bool show_or_hide_window(StartUp& s) {
    if (s.show_command == 0) {
        hide_window(*s.device);
        platform::hide_window(s.device->display.window);
    }
    return true;
}

bool apply_pointer(StartUp&) {
    apply_pointer_setting(runtime_settings().hide_system_pointer == 0);
    return true;
}

bool resolve_native(StartUp&) {
    resolve_declarations();
    return true;
}

bool start_sound_device(StartUp& s) {
    start_sound(s.device->display.window);
    return true;
}

void close_music() { stop_music(); }

void delete_sprites() {
    if (OpenGLRainbows* device = graphics_device()) delete_all_sprites(*device);
}

bool finish(StartUp&) {
    log_line("Init Finalized\n");
    return true;
}

constexpr ServiceSteps kServices[] = {
    {.name = "trace file", .start = start_trace_file},
    {.name = "pausing", .start = allow_pausing},
    {.name = "clock", .start = start_clock},
    {.name = "graphics device", .start = open_graphics_device, .after_present = start_frame_drawing,
     .stop_rank = 9, .stop = destroy_device},
    {.name = "main window", .start = title_main_window, .stop_rank = 12, .stop = destroy_main_window},
    {.name = "random generator", .start = seed_random},
    {.name = "network", .start = start_network, .stop_rank = 4, .stop = release_network_state},
    {.name = "3D scene", .start = create_scene, .before_pump = advance_scene,
     .after_present = reset_scene, .stop_rank = 10, .stop = destroy_scene_3d},
    {.name = "shaders", .after_present = shaders_off, .stop_rank = 8, .stop = delete_shaders},
    {.name = "input object", .start = create_input},
    {.name = "window mode", .start = set_window_mode},
    {.name = "input devices", .start = open_input_devices, .sample = update_input, .stop_rank = 5,
     .stop = release_input_devices},
    {.name = "working folder", .start = enter_executable_folder, .stop_rank = 2,
     .stop = return_to_executable_folder},
    {.name = "media archives", .start = open_media_archives, .stop_rank = 11,
     .stop = release_media_archives},
    {.name = "file channels", .stop_rank = 3, .stop = close_all_channels},
    {.name = "frame timestamps", .start = take_frame_timestamps},
    {.name = "first frame", .start = present_first_frame},
    {.name = "built-in font", .start = install_font},
    {.name = "font file", .start = load_font_file},
    {.name = "sprite store", .stop_rank = 7, .stop = delete_sprites},
    {.name = "ready", .start = ready_to_run},
    {.name = "window shown", .start = show_or_hide_window},
    {.name = "pointer", .start = apply_pointer},
    {.name = "native declarations", .start = resolve_native},
    {.name = "sound", .start = start_sound_device, .stop_rank = 6, .stop = shutdown_sound},
    {.name = "music", .before_pump = service_looped_music, .stop_rank = 1, .stop = close_music},
    {.name = "finished", .start = finish},
};

}  // namespace

std::span<const ServiceSteps> service_table() { return kServices; }

void run_sample_steps() {
    for (const ServiceSteps& row : kServices) {
        if (row.sample) row.sample();
    }
}

void run_before_pump_steps() {
    for (const ServiceSteps& row : kServices) {
        if (row.before_pump) row.before_pump();
    }
}

void run_after_present_steps() {
    for (const ServiceSteps& row : kServices) {
        if (row.after_present) row.after_present();
    }
}

}  // namespace tvk
