#include "runtime/core/movie_playback.h"

#include <array>
#include <string>

#include "runtime/audio/music.h"
#include "runtime/core/message_pump.h"
#include "runtime/files/media_archive.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/input/input_device.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/movie_player.h"
#include "runtime/value/error_state.h"

namespace tvk {

namespace {

// A key that went down since the movie started (keys already held do not count).
bool new_key_down(const std::array<uint8_t, 256>& held) {
    poll_keyboard();
    const InputDevice* input = input_device();
    if (!input) return false;
    for (size_t code = 0; code < held.size(); ++code) {
        if ((input->key_table[code] & 0x80) && !(held[code] & 0x80)) return true;
    }
    return false;
}

void pump_or_end(OpenGLRainbows& device) {
    if (pump_messages(&device, window_message_handler()) == 0) end_program();
}

}  // namespace

int32_t play_movie(const RtString& name) { return play_movie(name, false); }
int32_t play_movie_looped(const RtString& name) { return play_movie(name, true); }

int32_t play_movie(const RtString& name, bool loop) {
    std::string path;
    if (!resolve_media_path(media_archives().temporary_files, name.c_str(), path, false)) return 3;
    OpenGLRainbows* device = graphics_device();
    if (!device || !device->display.window) return 3;
    // The movie renders into the device's context with OpenGL state of its own.
    flush_draw_batch(*device);
    platform::Movie* movie = platform::open_movie(path.c_str(), device->display.window);
    if (!movie) return 3;
    const double end = platform::movie_length_ms(movie);

    // Characters typed and buttons held before the movie do not end it.
    while (discard_typed_char() != 0) {}
    while (any_mouse_button() != 0) {
        pump_or_end(*device);
        platform::sleep_ms(5);
    }
    pump_or_end(*device);
    poll_keyboard();
    std::array<uint8_t, 256> held{};
    if (const InputDevice* input = input_device()) held = input->key_table;

    if (platform::play_movie_from(movie, 0)) {
        double position = 0;
        while (position < end) {
            position = platform::movie_position_ms(movie);
            if (discard_typed_char() != 0 || any_mouse_button() != 0 || new_key_down(held)) break;
            service_looped_music();
            pump_or_end(*device);
            platform::render_movie_frame(movie);
            if (loop && position >= end) {
                platform::play_movie_from(movie, 0);
                position = -1;
            }
            platform::sleep_ms(5);
        }
    }
    platform::stop_movie(movie);
    platform::close_movie(movie);
    // The movie drew into the window itself; the program draws on the screen again.
    bind_screen_framebuffer(*device);
    return 0;
}

}  // namespace tvk
