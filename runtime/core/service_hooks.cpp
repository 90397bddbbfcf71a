// Where a service has arrived, its hook calls it; the others are marked "stand-in"
// and do the least their place in the order needs until their service lands.
#include "runtime/core/service_hooks.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "runtime/core/core_state.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/native/host_hooks.h"
#include "runtime/native/native_registry.h"
#include "runtime/platform/events.h"
#include "runtime/platform/system_ui.h"
#include "runtime/platform/window.h"
#include "runtime/value/isaac_random.h"

namespace tvk {

namespace {
// Stand-in for the input object's key snapshot: the platform's key table copied
// once per frame, so the quit keys read one consistent sample per flip.
uint8_t g_key_snapshot[256] = {};
}  // namespace

void service_random_seed(int32_t seed) { random_seed(seed); }

void service_create_network_state() {}                                  // stand-in
void service_create_input_object() { std::memset(g_key_snapshot, 0, sizeof g_key_snapshot); }  // stand-in
void service_create_input_devices(platform::Window*, bool) { platform::clear_key_states(); }  // stand-in
void service_give_input_window(platform::Window*) {}                    // stand-in
void service_set_media_archives(const char*) {}                         // stand-in
void service_install_builtin_font(int32_t) {}                           // stand-in

// Stand-in: the disk only, relative to the current directory.
bool service_resolve_media_path(const char* name, char* resolved, uint32_t room) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(name, ec)) return false;
    if (room > 0) {
        std::strncpy(resolved, name, room - 1);
        resolved[room - 1] = 0;
    }
    return true;
}

void service_load_font(const char*, int32_t) {}                         // stand-in
void service_set_font(int32_t) {}                                       // stand-in
void service_apply_pointer_setting(bool shown) { platform::show_pointer(shown); }  // stand-in
void service_resolve_declarations() { resolve_declarations(); }
void service_create_sound(platform::Window*) {}                         // stand-in

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

// Stand-in for the input object's per-frame sample.
void service_update_input() {
    std::memcpy(g_key_snapshot, platform::key_states(), 256);
    platform::take_key_presses(g_key_snapshot);
}

bool service_key_down(uint8_t code) { return (g_key_snapshot[code] & 0x80) != 0; }  // stand-in

bool service_any_key_down() {  // stand-in
    for (int code = 0; code < 255; ++code) {
        if (g_key_snapshot[code] & 0x80) return true;
    }
    return false;
}

void service_push_typed_char(uint8_t) {}                                // stand-in
void service_music_loop() {}                                            // stand-in
void service_end_render_target(OpenGLRainbows&) {}                      // stand-in

// Stand-in: no render targets exist yet, so a target has the screen's size.
void service_render_target_size(OpenGLRainbows& device, int32_t, int32_t& width,
                                int32_t& height) {
    width = device.window_width;
    height = device.window_height;
}

void service_draw_background(OpenGLRainbows&, int32_t) {}               // stand-in
void service_free_background(OpenGLRainbows& device, int32_t set) {     // stand-in
    device.background_sets[static_cast<size_t>(set)] = BackgroundTileSet{};
}
void service_shaders_off() {}                                           // stand-in

void service_close_music() {}                                           // stand-in
void service_close_all_channels() {}                                    // stand-in
void service_release_network() {}                                       // stand-in
void service_release_input_devices() { platform::show_pointer(true); }  // stand-in
void service_release_sound() {}                                         // stand-in
void service_delete_all_sprites(OpenGLRainbows&) {}                     // stand-in
void service_release_media_archives() {}                                // stand-in

}  // namespace tvk
