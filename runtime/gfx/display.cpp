// The device's window and context: creating them, probing the driver, and
// switching between windowed, fullscreen and hidden.
#include "runtime/gfx/display.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "runtime/files/file_record.h"
#include "runtime/gfx/gfx_hooks.h"
#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/system_ui.h"
#include "runtime/platform/window.h"
#include "runtime/value/clock.h"
#include "runtime/value/program_settings.h"
#include "runtime/value/trace_log.h"

namespace tvk {

namespace {

constexpr const char* kWindowClassTitle = "Tavrick";
constexpr int32_t kCopyStep = 32;  // pixels between the windows of two copies

const char kDriverAdvice[] =
    "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n\n"
    "Bitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit er OpenGL\nper HARDWARE unterst\xFCtzt!";

std::string latin1_to_utf8(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The window's depth and stencil buffer, only when the program asked for it.
void ask_depth_stencil(const DisplayState& display, platform::GlSurfaceRequest& request) {
    request.depth_bits = display.depth_stencil_buffer ? 24 : 0;
    request.stencil_bits = display.depth_stencil_buffer ? 8 : 0;
}

bool fail(DisplayState& display, const std::string& why) {
    display.failure = why;
    return false;
}

// A window and current context with samples multisampling, halving the samples
// down to 1 while the driver refuses; false when not even 1 sample is offered.
bool choose_multisample_window(DisplayState& display, int32_t samples) {
    for (int32_t n = samples; n >= 1; n /= 2) {
        std::string why;
        platform::GlSurfaceRequest request;
        request.colour_bits = display.colour_depth;
        request.samples = n;
        ask_depth_stencil(display, request);
        platform::Window* window = platform::create_window(
            kWindowClassTitle, display.window_width, display.window_height, request, why);
        if (!window) continue;
        platform::GlContext context = platform::create_gl_context(window, why);
        if (context && platform::make_gl_current(window, context) &&
            platform::gl_surface_samples() > 0) {
            platform::delete_gl_context(display.gl_context);
            platform::destroy_window(display.window);
            display.window = window;
            display.gl_context = context;
            return true;
        }
        platform::delete_gl_context(context);
        platform::destroy_window(window);
        platform::make_gl_current(display.window, display.gl_context);
    }
    return false;
}

void report_software_renderer(OpenGLRainbows& device) {
    DisplayState& state = device.display;
    if (state.software_reported) return;
    const std::string& renderer = gl_renderer_text(device);
    if (!is_software_renderer(renderer)) return;
    state.software_reported = true;
    log_line("*** OpenGL Software Emulation - update driver!\n");
    FileRecord file;
    if (file_open_read(file, "opengldriver.txt") == 0) return;
    std::string text(static_cast<size_t>(std::clamp<int64_t>(file.size, 0, 2047)), '\0');
    const bool read = !text.empty() && file_read(file, text.data(), static_cast<int64_t>(text.size())) == 1;
    file_close(file);
    const std::string message = read ? text : std::string(kDriverAdvice);
    platform::show_message_box(state.window, "No OpenGL Hardware Drivers",
                               latin1_to_utf8(message).c_str(), true);
}

// Gives the window's client area this size and centres it in the work area; a
// further copy of the program a step down and right of the one before, so that
// neither hides the other, but not past the work area.
void place_window_centred(DisplayState& display, int32_t width, int32_t height) {
    platform::set_window_client_size(display.window, width, height);
    const platform::ScreenRect area = platform::work_area(display.window);
    const int32_t copy = platform::program_copy_number(runtime_settings().application_name.c_str());
    const int32_t step = kCopyStep * copy;
    int32_t x = std::min(area.x + (area.width - width) / 2 + step, area.x + area.width - width);
    int32_t y = std::min(area.y + (area.height - height) / 2 + step, area.y + area.height - height);
    // A window larger than the work area keeps its top-left corner on screen.
    if (x < area.x) x = area.x;
    if (y < area.y) y = area.y;
    platform::set_window_position(display.window, x, y);
}

// A scaled screen's first window, and its window after a new screen size: the
// largest whole multiple of the screen that fits the desktop (screen_scaling.h),
// centred. Otherwise the window keeps the size and place the user gave it.
void place_scaled_window(OpenGLRainbows& device) {
    DisplayState& display = device.display;
    const bool new_size = match_screen_framebuffer(device);
    if (!display.scaling.active) {
        // The framebuffer could not follow the new size: an unscaled window.
        platform::set_window_resizable(display.window, false);
        place_window_centred(display, display.window_width, display.window_height);
        return;
    }
    if (display.scaling.placed && !new_size) return;
    const int32_t scale = first_window_scale(display.window_width, display.window_height,
                                             display.desktop_width, display.desktop_height);
    place_window_centred(display, display.window_width * scale, display.window_height * scale);
    display.scaling.placed = 1;
}

// Fullscreen for a scaled screen covers the display at the desktop's resolution:
// the frame is scaled to it, so no display mode is changed.
bool enter_scaled_fullscreen(OpenGLRainbows& device) {
    DisplayState& display = device.display;
    // Placed first, so that leaving full screen finds a window of the right size.
    if (display.fullscreen) {
        match_screen_framebuffer(device);
    } else {
        place_scaled_window(device);
    }
    if (!display.scaling.active) return false;
    if (!display.fullscreen && !platform::enter_desktop_fullscreen(display.window)) {
        platform::beep();
        log_line("No Fullscreen Mode available\n");
        return false;
    }
    platform::show_window(display.window);
    platform::raise_window(display.window);
    read_screen_window_size(device);
    set_viewport(device, 0, 0, 0, 0);
    display.fullscreen = 1;
    return true;
}

int32_t leave_scaled_fullscreen(OpenGLRainbows& device) {
    DisplayState& display = device.display;
    if (display.fullscreen) platform::leave_fullscreen_mode(display.window);
    display.fullscreen = 0;
    platform::set_window_bordered(display.window, true);
    place_scaled_window(device);
    platform::show_window(display.window);
    platform::raise_window(display.window);
    read_screen_window_size(device);
    set_viewport(device, 0, 0, 0, 0);
    return 1;
}

}  // namespace

void get_desktop_size(const OpenGLRainbows& device, int32_t& width, int32_t& height) {
    width = device.display.desktop_width;
    height = device.display.desktop_height;
}

const std::string& gl_renderer_text(OpenGLRainbows& device) {
    DisplayState& state = device.display;
    if (!state.renderer_read) {
        const auto* text = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        if (text) {
            state.renderer = text;
            state.renderer_read = true;
        }
    }
    return state.renderer;
}

bool is_software_renderer(const std::string& renderer) {
    return renderer.find("llvmpipe") != std::string::npos ||
           renderer.find("softpipe") != std::string::npos ||
           renderer.find("swrast") != std::string::npos ||
           renderer == "Mesa Windows GDI Driver";
}

bool open_window(OpenGLRainbows& device, void* instance, int32_t width, int32_t height,
                 int32_t colour_depth, int32_t frames_per_second, int32_t multisample_samples) {
    DisplayState& display = device.display;
    display.failure.clear();
    set_frame_rate(device, frames_per_second);

    std::string why;
    if (!platform::video_start(why)) return fail(display, "no display (" + why + ")");

    display.instance = instance;
    display.multisample_request = multisample_samples;
    log_line("WIN32 init video\n");
    const platform::DisplayMode desktop = platform::desktop_mode();
    display.desktop_width = desktop.width;
    display.desktop_height = desktop.height;

    platform::GlSurfaceRequest request;
    request.colour_bits = colour_depth != 0 ? colour_depth : desktop.bits_per_pixel;
    ask_depth_stencil(display, request);
    platform::Window* window = platform::create_window(
        kWindowClassTitle, width > 0 ? width : 640, height > 0 ? height : 480, request, why);
    if (!window) return fail(display, "the window cannot be created (" + why + ")");
    display.window = window;

    int32_t created_width = 0, created_height = 0;
    platform::window_client_size(window, created_width, created_height);
    display.window_width = width != 0 ? width : created_width;
    display.window_height = height != 0 ? height : created_height;
    display.colour_depth = request.colour_bits;
    display.fullscreen = 0;

    if (!display.gl_context) display.gl_context = platform::create_gl_context(window, why);
    if (!display.gl_context || !platform::make_gl_current(window, display.gl_context)) {
        platform::delete_gl_context(display.gl_context);
        display.gl_context = platform::create_gl_context(window, why);
        if (!display.gl_context || !platform::make_gl_current(window, display.gl_context)) {
            return fail(display, "no OpenGL context (" + why + ")");
        }
    }
    display.multisample_request = 0;
    if (multisample_samples > 0) choose_multisample_window(display, multisample_samples);

    report_software_renderer(device);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    display.fullscreen = 0;

    log_line("get accurate timer - 1st call\n");
    device.pacing.next_frame_time = clock_ms();
    device.pacing.wake_slip = 0;
    log_line("flip - 1st call\n");
    present_frame(device, nullptr);

    const auto* ext_text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const std::string extensions = ext_text ? ext_text : "";
    load_extension_entry_points(extensions);

    display.bgra_supported = (extensions.find("_texture_format_BGRA8888") != std::string::npos ||
                              extensions.find("GL_EXT_bgra") != std::string::npos)
                                 ? 1
                                 : 0;
    if (display.bgra_supported) {
        log_line("BGRA ext supported\n");
    } else {
        log_line(("BGRA ext NOT supported\n" + extensions + "\n").c_str());
    }

    GLint max_texture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_texture);
    log_line(("Texture size limit: " + std::to_string(max_texture) + "\n").c_str());

    log_line("init fbo\n");
    if (!load_framebuffer_entry_points()) log_line("No framebuffer objects\n");
    if (display.scaling.requested) start_screen_scaling(device);

    platform::hide_window(display.window);
    log_line("2D VP\n");
    reset_2d_state(device);
    log_line("OGRB init [OK]\n");
    return true;
}

bool enter_fullscreen(OpenGLRainbows& device) {
    flush_draw_batch(device);
    DisplayState& display = device.display;
    if (display.scaling.active) {
        if (enter_scaled_fullscreen(device)) return true;
        leave_fullscreen(device);
        return false;
    }
    const int32_t desktop_depth = platform::desktop_mode().bits_per_pixel;
    const int32_t depth =
        display.colour_depth != desktop_depth && display.colour_depth != 0 ? display.colour_depth : 0;
    bool ok = platform::enter_fullscreen_mode(display.window, display.window_width,
                                              display.window_height, depth);
    if (!ok && depth != 0) {
        ok = platform::enter_fullscreen_mode(display.window, display.window_width,
                                             display.window_height, 0);
    }
    if (!ok) {
        platform::beep();
        log_line("No Fullscreen Mode available\n");
        leave_fullscreen(device);
        return false;
    }
    // The same window and context go fullscreen, so nothing drawn is lost.
    set_viewport(device, 0, 0, 0, 0);
    platform::show_window(display.window);
    platform::raise_window(display.window);
    display.fullscreen = 1;
    return true;
}

int32_t leave_fullscreen(OpenGLRainbows& device) {
    flush_draw_batch(device);
    DisplayState& display = device.display;
    if (display.scaling.active) return leave_scaled_fullscreen(device);
    if (display.fullscreen) {
        platform::leave_fullscreen_mode(display.window);
        platform::sleep_ms(500);
    }
    platform::set_window_bordered(display.window, true);
    place_window_centred(display, display.window_width, display.window_height);
    platform::show_window(display.window);
    platform::raise_window(display.window);
    set_viewport(device, 0, 0, 0, 0);
    display.fullscreen = 0;
    return 1;
}

int32_t change_screen_mode(OpenGLRainbows& device, int32_t width, int32_t height,
                           int32_t colour_depth, int32_t fullscreen) {
    flush_draw_batch(device);
    DisplayState& display = device.display;
    if (width != 0) display.window_width = width;
    if (height != 0) display.window_height = height;
    if (colour_depth != 0) display.colour_depth = colour_depth;
    if (fullscreen != 0) return enter_fullscreen(device) ? 1 : 0;
    return leave_fullscreen(device);
}

int32_t hide_window(OpenGLRainbows& device) {
    flush_draw_batch(device);
    DisplayState& display = device.display;
    if (display.fullscreen) platform::leave_fullscreen_mode(display.window);
    platform::hide_window(display.window);
    display.fullscreen = 0;
    pump_window_messages(nullptr);
    return 1;
}

int32_t close_window(OpenGLRainbows& device) {
    flush_draw_batch(device);
    delete_all_sprites(device);
    for (int32_t set = 0; set < kBackgroundSetCount; ++set) free_background(device, set);
    leave_fullscreen(device);
    stop_screen_scaling(device);
    DisplayState& display = device.display;
    platform::make_gl_current(display.window, nullptr);
    platform::destroy_window(display.window);
    display.window = nullptr;
    display.window_width = 0;
    display.window_height = 0;
    return 0;
}

int32_t is_fullscreen(const OpenGLRainbows& device) { return device.display.fullscreen ? 1 : 0; }

int32_t toggle_fullscreen(OpenGLRainbows& device) {
    DisplayState& display = device.display;
    if (!display.scaling.active) return is_fullscreen(device);
    flush_draw_batch(device);
    if (display.fullscreen) {
        // Back to the window the user had, at its size and place.
        platform::leave_fullscreen_mode(display.window);
        display.fullscreen = 0;
        read_screen_window_size(device);
    } else {
        enter_scaled_fullscreen(device);
    }
    return is_fullscreen(device);
}

}  // namespace tvk
