// Each hook calls its service.
#include "runtime/core/service_hooks.h"

#include <string>

#include "runtime/audio/music.h"
#include "runtime/audio/sound_device.h"
#include "runtime/core/core_state.h"
#include "runtime/files/channels.h"
#include "runtime/files/ini_store.h"
#include "runtime/files/line_store.h"
#include "runtime/files/media_archive.h"
#include "runtime/gfx/backgrounds.h"
#include "runtime/gfx/font_table.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/gfx/targets/render_target.h"
#include "runtime/gfx/targets/shader_programs.h"
#include "runtime/input/input_device.h"
#include "runtime/native/host_hooks.h"
#include "runtime/native/native_registry.h"
#include "runtime/net/socket_table.h"
#include "runtime/platform/window.h"
#include "runtime/value/isaac_random.h"

namespace tvk {

void service_random_seed(int32_t seed) { random_seed(seed); }

// The socket table exists from the first use; there is nothing to create before it.
void service_create_network_state() {}

void service_create_input_object() { create_input_object(); }

void service_create_input_devices(platform::Window* window, bool hide_pointer) {
    create_input_devices(window, hide_pointer);
}

void service_give_input_window(platform::Window* window) {
    if (InputDevice* input = input_device()) input->window = window;
}

void service_set_media_archives(const char* executable_path) {
    set_media_archives(executable_path, executable_path);
}

void service_install_builtin_font(int32_t font) {
    if (OpenGLRainbows* device = graphics_device()) install_builtin_font(*device, font);
}

bool service_resolve_media_path(const char* name, char* resolved, uint32_t room) {
    std::string result;
    if (!resolve_media_path(media_archives().memory_files, name, result, true)) return false;
    if (room > 0) {
        const size_t n = result.size() < room - 1 ? result.size() : room - 1;
        result.copy(resolved, n);
        resolved[n] = 0;
    }
    return true;
}

void service_load_font(const char* name, int32_t font) { load_font(RtString(name), font); }
void service_set_font(int32_t font) { set_font(font); }

void service_apply_pointer_setting(bool shown) { apply_pointer_setting(shown); }
void service_resolve_declarations() { resolve_declarations(); }
void service_create_sound(platform::Window* window) { start_sound(window); }

void service_connect_host_hooks() {
    HostHooks& hooks = host_hooks();
    hooks.escape_ends = [] { return core_state().escape_ends; };
    hooks.leave_fullscreen = [] {
        if (OpenGLRainbows* device = graphics_device()) leave_fullscreen(*device);
    };
    hooks.activate_main_window = [] {
        platform::show_window(core_state().main_window);
        platform::raise_window(core_state().main_window);
    };
}

void service_update_input() { update_input(); }
bool service_key_down(uint8_t code) { return input_key_state(code); }
bool service_any_key_down() { return input_any_key_down(); }
void service_push_typed_char(uint8_t byte) { push_typed_char(byte); }
void service_music_loop() { service_looped_music(); }

void service_end_render_target(OpenGLRainbows& device) { end_render_target(device); }

void service_render_target_size(OpenGLRainbows& device, int32_t target, int32_t& width,
                                int32_t& height) {
    render_target_size(device, target, width, height);
}

void service_draw_background(OpenGLRainbows& device, int32_t set) { draw_background(device, set); }
void service_free_background(OpenGLRainbows& device, int32_t set) { free_background(device, set); }
void service_shaders_off() { use_shader(-1); }

void service_close_music() { stop_music(); }
void service_close_all_channels() { close_all_channels(); }
void service_release_network() { net_shutdown_all(); }
void service_release_input_devices() { release_input_devices(); }
void service_release_sound() { shutdown_sound(); }
void service_delete_all_sprites(OpenGLRainbows& device) { delete_all_sprites(device); }
void service_delete_all_shaders() { delete_all_shaders(); }

void service_write_back_stores() {
    write_back_line_store();
    write_back_ini_store();
}
void service_release_media_archives() { release_media_archives(); }

}  // namespace tvk
