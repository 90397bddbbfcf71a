#pragma once
// The runtime core's calls into the services it starts, drives each frame and
// stops: one function per call, so that the start-up, frame and shutdown order
// lives in the core while each service keeps its own code.
#include <cstdint>

namespace tvk::platform {
struct Window;
}

namespace tvk {

class OpenGLRainbows;

// Start-up, in the order init_runtime calls them.
void service_random_seed(int32_t seed);
void service_create_network_state();
void service_create_input_object();
void service_create_input_devices(platform::Window* window, bool hide_pointer);
void service_give_input_window(platform::Window* window);
void service_set_media_archives(const char* executable_path);
void service_install_builtin_font(int32_t font);
// Resolves a media name as file loaders do; true with the resolved path when found.
bool service_resolve_media_path(const char* name, char* resolved, uint32_t room);
// Loads the named font file (looked up again as every loader does) into the font.
void service_load_font(const char* name, int32_t font);
void service_set_font(int32_t font);
void service_apply_pointer_setting(bool shown);
void service_resolve_declarations();
void service_create_sound(platform::Window* window);
void service_connect_host_hooks();

// Every frame.
void service_update_input();
// Key state for the quit keys, read as key queries read it but without counting.
bool service_key_down(uint8_t code);
bool service_any_key_down();
void service_push_typed_char(uint8_t byte);
void service_music_loop();
void service_end_render_target(OpenGLRainbows& device);
void service_render_target_size(OpenGLRainbows& device, int32_t target, int32_t& width,
                                int32_t& height);
void service_draw_background(OpenGLRainbows& device, int32_t set);
void service_free_background(OpenGLRainbows& device, int32_t set);
void service_shaders_off();

// Shutdown, in the order shutdown_runtime calls them.
void service_close_music();
void service_close_all_channels();
void service_release_network();
void service_release_input_devices();
void service_release_sound();
void service_delete_all_sprites(OpenGLRainbows& device);
void service_delete_all_shaders();
void service_write_back_stores();
void service_release_media_archives();

}  // namespace tvk
