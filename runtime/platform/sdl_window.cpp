// The video service over SDL2.
#include <SDL.h>

#include "runtime/platform/window.h"

namespace tvk::platform {

namespace {

SDL_Window* sdl(Window* window) { return reinterpret_cast<SDL_Window*>(window); }

bool g_video_started = false;

}  // namespace

bool video_start(std::string& why) {
    if (g_video_started) return true;
    // The runtime decides itself when the program ends; SDL must not turn the
    // last window's close into a quit of its own.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        why = SDL_GetError();
        return false;
    }
    g_video_started = true;
    return true;
}

bool video_started() { return g_video_started; }

void video_stop() {
    if (!g_video_started) return;
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    g_video_started = false;
}

DisplayMode desktop_mode() {
    DisplayMode mode;
    SDL_DisplayMode dm{};
    if (g_video_started && SDL_GetDesktopDisplayMode(0, &dm) == 0) {
        mode.width = dm.w;
        mode.height = dm.h;
        mode.bits_per_pixel = static_cast<int32_t>(SDL_BITSPERPIXEL(dm.format));
        if (mode.bits_per_pixel == 24) mode.bits_per_pixel = 32;
    }
    return mode;
}

ScreenRect work_area(Window* window) {
    int display = window ? SDL_GetWindowDisplayIndex(sdl(window)) : 0;
    if (display < 0) display = 0;
    SDL_Rect r{};
    if (SDL_GetDisplayUsableBounds(display, &r) != 0 && SDL_GetDisplayBounds(display, &r) != 0) {
        return {};
    }
    return {r.x, r.y, r.w, r.h};
}

Window* create_window(const char* title, int32_t width, int32_t height,
                      const GlSurfaceRequest& surface, std::string& why) {
    SDL_GL_ResetAttributes();
    const int channel = surface.colour_bits >= 24 || surface.colour_bits == 0 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, channel == 8 ? 8 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, surface.depth_bits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, surface.stencil_bits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, surface.samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, surface.samples > 0 ? surface.samples : 0);
    SDL_Window* w = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                     width > 0 ? width : 1, height > 0 ? height : 1,
                                     SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!w) why = SDL_GetError();
    return reinterpret_cast<Window*>(w);
}

void destroy_window(Window* window) {
    if (window) SDL_DestroyWindow(sdl(window));
}

uint32_t window_id(Window* window) { return window ? SDL_GetWindowID(sdl(window)) : 0; }

void set_window_title(Window* window, const char* title) {
    if (window) SDL_SetWindowTitle(sdl(window), title ? title : "");
}

std::string window_title(Window* window) {
    return window ? std::string(SDL_GetWindowTitle(sdl(window))) : std::string();
}

void show_window(Window* window) {
    if (window) SDL_ShowWindow(sdl(window));
}

void hide_window(Window* window) {
    if (window) SDL_HideWindow(sdl(window));
}

void raise_window(Window* window) {
    if (window) SDL_RaiseWindow(sdl(window));
}

bool window_has_focus(Window* window) {
    return window && (SDL_GetWindowFlags(sdl(window)) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void set_window_bordered(Window* window, bool bordered) {
    if (window) SDL_SetWindowBordered(sdl(window), bordered ? SDL_TRUE : SDL_FALSE);
}

void set_window_position(Window* window, int32_t x, int32_t y) {
    if (window) SDL_SetWindowPosition(sdl(window), x, y);
}

void set_window_client_size(Window* window, int32_t width, int32_t height) {
    if (window) SDL_SetWindowSize(sdl(window), width, height);
}

void window_client_size(Window* window, int32_t& width, int32_t& height) {
    width = height = 0;
    if (window) SDL_GetWindowSize(sdl(window), &width, &height);
}

void set_window_resizable(Window* window, bool resizable) {
    if (window) SDL_SetWindowResizable(sdl(window), resizable ? SDL_TRUE : SDL_FALSE);
}

bool enter_fullscreen_mode(Window* window, int32_t width, int32_t height, int32_t bits_per_pixel) {
    if (!window) return false;
    SDL_DisplayMode want{};
    want.w = width;
    want.h = height;
    want.format = bits_per_pixel == 16 ? SDL_PIXELFORMAT_RGB565
                  : bits_per_pixel != 0 ? SDL_PIXELFORMAT_RGB888
                                        : 0;
    SDL_DisplayMode got{};
    const int display = SDL_GetWindowDisplayIndex(sdl(window));
    if (!SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &want, &got)) return false;
    if (got.w != width || got.h != height) return false;
    if (SDL_SetWindowDisplayMode(sdl(window), &got) != 0) return false;
    return SDL_SetWindowFullscreen(sdl(window), SDL_WINDOW_FULLSCREEN) == 0;
}

bool enter_desktop_fullscreen(Window* window) {
    return window && SDL_SetWindowFullscreen(sdl(window), SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

void leave_fullscreen_mode(Window* window) {
    if (window) SDL_SetWindowFullscreen(sdl(window), 0);
}

GlContext create_gl_context(Window* window, std::string& why) {
    SDL_GLContext context = SDL_GL_CreateContext(sdl(window));
    if (!context) {
        why = SDL_GetError();
        return nullptr;
    }
    SDL_GL_SetSwapInterval(0);
    return context;
}

bool make_gl_current(Window* window, GlContext context) {
    return SDL_GL_MakeCurrent(sdl(window), static_cast<SDL_GLContext>(context)) == 0;
}

void delete_gl_context(GlContext context) {
    if (context) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

void swap_window(Window* window) {
    if (window) SDL_GL_SwapWindow(sdl(window));
}

void* gl_proc_address(const char* name) { return SDL_GL_GetProcAddress(name); }

int32_t gl_surface_samples() {
    int buffers = 0, samples = 0;
    SDL_GL_GetAttribute(SDL_GL_MULTISAMPLEBUFFERS, &buffers);
    SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &samples);
    return buffers > 0 ? samples : 0;
}

}  // namespace tvk::platform
