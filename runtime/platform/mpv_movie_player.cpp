// The movie service over libmpv's OpenGL render API, with sound off.
#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <chrono>
#include <cstring>

#include "runtime/platform/movie_player.h"
#include "runtime/platform/window.h"

namespace tvk::platform {

struct Movie {
    mpv_handle* player = nullptr;
    mpv_render_context* renderer = nullptr;
    Window* window = nullptr;
};

namespace {

void* proc_address(void*, const char* name) { return gl_proc_address(name); }

double double_property(Movie* movie, const char* name, double fallback) {
    double value = 0;
    if (!movie || mpv_get_property(movie->player, name, MPV_FORMAT_DOUBLE, &value) < 0) return fallback;
    return value;
}

bool flag_property(Movie* movie, const char* name) {
    int flag = 0;
    return movie && mpv_get_property(movie->player, name, MPV_FORMAT_FLAG, &flag) >= 0 && flag != 0;
}

// Takes the player's pending events; true when the file has loaded.
bool drain_events(Movie* movie, double timeout_s, bool& failed) {
    bool loaded = false;
    for (;;) {
        mpv_event* event = mpv_wait_event(movie->player, timeout_s);
        if (event->event_id == MPV_EVENT_NONE) return loaded;
        if (event->event_id == MPV_EVENT_FILE_LOADED) loaded = true;
        if (event->event_id == MPV_EVENT_END_FILE) {
            const auto* end = static_cast<mpv_event_end_file*>(event->data);
            if (end && end->reason == MPV_END_FILE_REASON_ERROR) failed = true;
        }
        if (loaded || failed) return loaded;
    }
}

}  // namespace

Movie* open_movie(const char* path, Window* window) {
    if (!path || !window) return nullptr;
    auto* movie = new Movie;
    movie->window = window;
    movie->player = mpv_create();
    if (!movie->player) {
        delete movie;
        return nullptr;
    }
    mpv_set_option_string(movie->player, "vo", "libmpv");
    mpv_set_option_string(movie->player, "ao", "null");
    mpv_set_option_string(movie->player, "audio", "no");
    mpv_set_option_string(movie->player, "keep-open", "always");
    mpv_set_option_string(movie->player, "pause", "yes");
    mpv_set_option_string(movie->player, "terminal", "no");
    mpv_set_option_string(movie->player, "hwdec", "no");
    if (mpv_initialize(movie->player) < 0) {
        close_movie(movie);
        return nullptr;
    }
    mpv_opengl_init_params gl{proc_address, nullptr};
    int advanced = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&movie->renderer, movie->player, params) < 0) {
        movie->renderer = nullptr;
        close_movie(movie);
        return nullptr;
    }
    const char* command[] = {"loadfile", path, nullptr};
    if (mpv_command(movie->player, command) < 0) {
        close_movie(movie);
        return nullptr;
    }
    bool failed = false;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!drain_events(movie, 0.05, failed)) {
        if (failed || std::chrono::steady_clock::now() > give_up) {
            close_movie(movie);
            return nullptr;
        }
    }
    return movie;
}

void close_movie(Movie* movie) {
    if (!movie) return;
    if (movie->renderer) mpv_render_context_free(movie->renderer);
    if (movie->player) mpv_terminate_destroy(movie->player);
    delete movie;
}

void movie_size(Movie* movie, int32_t& width, int32_t& height) {
    int64_t w = 0, h = 0;
    if (movie) {
        mpv_get_property(movie->player, "width", MPV_FORMAT_INT64, &w);
        mpv_get_property(movie->player, "height", MPV_FORMAT_INT64, &h);
    }
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
}

double movie_length_ms(Movie* movie) { return double_property(movie, "duration", 0) * 1000.0; }

double movie_position_ms(Movie* movie) {
    if (flag_property(movie, "eof-reached")) return movie_length_ms(movie);
    return double_property(movie, "time-pos", 0) * 1000.0;
}

bool play_movie_from(Movie* movie, double position_ms) {
    if (!movie) return false;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", position_ms / 1000.0);
    const char* seek[] = {"seek", seconds, "absolute", nullptr};
    mpv_command(movie->player, seek);
    const char* unpause[] = {"set", "pause", "no", nullptr};
    return mpv_command(movie->player, unpause) >= 0;
}

void stop_movie(Movie* movie) {
    if (!movie) return;
    const char* command[] = {"stop", nullptr};
    mpv_command(movie->player, command);
}

void render_movie_frame(Movie* movie) {
    if (!movie || !movie->renderer) return;
    bool failed = false;
    drain_events(movie, 0, failed);
    int32_t width = 0, height = 0;
    window_client_size(movie->window, width, height);
    mpv_opengl_fbo fbo{0, width, height, 0};
    int flip_y = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flip_y},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(movie->renderer, params);
    swap_window(movie->window);
}

}  // namespace tvk::platform
