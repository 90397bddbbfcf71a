// The device's window and context: creating them, probing the driver, and
// switching between windowed, fullscreen and hidden.
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "runtime/gfx/backgrounds.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/gfx_hooks.h"
#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/system_ui.h"
#include "runtime/platform/window.h"
#include "runtime/value/clock.h"
#include "runtime/value/program_settings.h"
#include "runtime/value/trace_log.h"

namespace tvk {

namespace {

struct DisplayState {
    int32_t desktop_width = 0;
    int32_t desktop_height = 0;
    bool software_reported = false;
    bool renderer_read = false;
    std::string renderer;
    std::string failure;
};

DisplayState& display_state() {
    static DisplayState state;
    return state;
}

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
void ask_depth_stencil(const OpenGLRainbows& device, platform::GlSurfaceRequest& request) {
    request.depth_bits = device.depth_stencil_buffer ? 24 : 0;
    request.stencil_bits = device.depth_stencil_buffer ? 8 : 0;
}

bool fail(const std::string& why) {
    display_state().failure = why;
    return false;
}

// A window and current context with samples multisampling, halving the samples
// down to 1 while the driver refuses; false when not even 1 sample is offered.
bool choose_multisample_window(OpenGLRainbows& device, int32_t samples) {
    for (int32_t n = samples; n >= 1; n /= 2) {
        std::string why;
        platform::GlSurfaceRequest request;
        request.colour_bits = device.colour_depth;
        request.samples = n;
        ask_depth_stencil(device, request);
        platform::Window* window = platform::create_window(
            kWindowClassTitle, device.window_width, device.window_height, request, why);
        if (!window) continue;
        platform::GlContext context = platform::create_gl_context(window, why);
        if (context && platform::make_gl_current(window, context) &&
            platform::gl_surface_samples() > 0) {
            platform::delete_gl_context(device.gl_context);
            platform::destroy_window(device.window);
            device.window = window;
            device.gl_context = context;
            return true;
        }
        platform::delete_gl_context(context);
        platform::destroy_window(window);
        platform::make_gl_current(device.window, device.gl_context);
    }
    return false;
}

void report_software_renderer(OpenGLRainbows& device) {
    DisplayState& state = display_state();
    if (state.software_reported) return;
    const std::string& renderer = gl_renderer_text();
    if (!is_software_renderer(renderer)) return;
    state.software_reported = true;
    log_line("*** OpenGL Software Emulation - update driver!\n");
    std::FILE* f = std::fopen("opengldriver.txt", "rb");
    if (!f) return;
    char text[2048];
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    const std::string message = n > 0 ? std::string(text, n) : std::string(kDriverAdvice);
    platform::show_message_box(device.window, "No OpenGL Hardware Drivers",
                               latin1_to_utf8(message).c_str(), true);
}

}  // namespace

const std::string& open_window_failure() { return display_state().failure; }

void get_desktop_size(int32_t& width, int32_t& height) {
    width = display_state().desktop_width;
    height = display_state().desktop_height;
}

const std::string& gl_renderer_text() {
    DisplayState& state = display_state();
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
    DisplayState& state = display_state();
    state.failure.clear();
    device.frame_interval = frames_per_second > 0 ? 1000.0 / frames_per_second : 2.0;

    std::string why;
    if (!platform::video_start(why)) return fail("no display (" + why + ")");

    device.instance = instance;
    device.multisample_request = multisample_samples;
    log_line("WIN32 init video\n");
    const platform::DisplayMode desktop = platform::desktop_mode();
    state.desktop_width = desktop.width;
    state.desktop_height = desktop.height;

    platform::GlSurfaceRequest request;
    request.colour_bits = colour_depth != 0 ? colour_depth : desktop.bits_per_pixel;
    ask_depth_stencil(device, request);
    platform::Window* window = platform::create_window(
        kWindowClassTitle, width > 0 ? width : 640, height > 0 ? height : 480, request, why);
    if (!window) return fail("the window cannot be created (" + why + ")");
    device.window = window;

    int32_t created_width = 0, created_height = 0;
    platform::window_client_size(window, created_width, created_height);
    device.window_width = width != 0 ? width : created_width;
    device.window_height = height != 0 ? height : created_height;
    device.colour_depth = request.colour_bits;
    device.fullscreen = 0;

    if (!device.gl_context) device.gl_context = platform::create_gl_context(window, why);
    if (!device.gl_context || !platform::make_gl_current(window, device.gl_context)) {
        platform::delete_gl_context(device.gl_context);
        device.gl_context = platform::create_gl_context(window, why);
        if (!device.gl_context || !platform::make_gl_current(window, device.gl_context)) {
            return fail("no OpenGL context (" + why + ")");
        }
    }
    device.multisample_request = 0;
    if (multisample_samples > 0) choose_multisample_window(device, multisample_samples);

    report_software_renderer(device);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    device.fullscreen = 0;

    log_line("get accurate timer - 1st call\n");
    device.next_frame_time = clock_ms();
    device.wake_slip = 0;
    log_line("flip - 1st call\n");
    present_frame(device, nullptr);

    const auto* ext_text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const std::string extensions = ext_text ? ext_text : "";
    load_extension_entry_points(extensions);

    device.bgra_supported = (extensions.find("_texture_format_BGRA8888") != std::string::npos ||
                             extensions.find("GL_EXT_bgra") != std::string::npos)
                                ? 1
                                : 0;
    if (device.bgra_supported) {
        log_line("BGRA ext supported\n");
    } else {
        log_line(("BGRA ext NOT supported\n" + extensions + "\n").c_str());
    }

    GLint max_texture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_texture);
    log_line(("Texture size limit: " + std::to_string(max_texture) + "\n").c_str());

    log_line("init fbo\n");
    if (!load_framebuffer_entry_points()) log_line("No framebuffer objects\n");

    platform::hide_window(device.window);
    log_line("2D VP\n");
    reset_2d_state(device);
    log_line("OGRB init [OK]\n");
    return true;
}

bool enter_fullscreen(OpenGLRainbows& device) {
    flush_draw_batch(device);
    const int32_t desktop_depth = platform::desktop_mode().bits_per_pixel;
    const int32_t depth =
        device.colour_depth != desktop_depth && device.colour_depth != 0 ? device.colour_depth : 0;
    bool ok = platform::enter_fullscreen_mode(device.window, device.window_width,
                                              device.window_height, depth);
    if (!ok && depth != 0) {
        ok = platform::enter_fullscreen_mode(device.window, device.window_width,
                                             device.window_height, 0);
    }
    if (!ok) {
        platform::beep();
        log_line("No Fullscreen Mode available\n");
        leave_fullscreen(device);
        return false;
    }
    // The same window and context go fullscreen, so nothing drawn is lost.
    set_viewport(device, 0, 0, 0, 0);
    platform::show_window(device.window);
    platform::raise_window(device.window);
    device.fullscreen = 1;
    return true;
}

int32_t leave_fullscreen(OpenGLRainbows& device) {
    flush_draw_batch(device);
    if (device.fullscreen) {
        platform::leave_fullscreen_mode(device.window);
        platform::sleep_ms(500);
    }
    platform::set_window_bordered(device.window, true);
    platform::set_window_client_size(device.window, device.window_width, device.window_height);
    const platform::ScreenRect area = platform::work_area(device.window);
    // Centred; a further copy of the program a step down and right of the one
    // before, so that neither hides the other, but not past the work area.
    const int32_t copy = platform::program_copy_number(runtime_settings().application_name.c_str());
    const int32_t step = kCopyStep * copy;
    int32_t x = std::min(area.x + (area.width - device.window_width) / 2 + step,
                         area.x + area.width - device.window_width);
    int32_t y = std::min(area.y + (area.height - device.window_height) / 2 + step,
                         area.y + area.height - device.window_height);
    // A window larger than the work area keeps its top-left corner on screen.
    if (x < area.x) x = area.x;
    if (y < area.y) y = area.y;
    platform::set_window_position(device.window, x, y);
    platform::show_window(device.window);
    platform::raise_window(device.window);
    set_viewport(device, 0, 0, 0, 0);
    device.fullscreen = 0;
    return 1;
}

int32_t change_screen_mode(OpenGLRainbows& device, int32_t width, int32_t height,
                           int32_t colour_depth, int32_t fullscreen) {
    flush_draw_batch(device);
    if (width != 0) device.window_width = width;
    if (height != 0) device.window_height = height;
    if (colour_depth != 0) device.colour_depth = colour_depth;
    if (fullscreen != 0) return enter_fullscreen(device) ? 1 : 0;
    return leave_fullscreen(device);
}

int32_t hide_window(OpenGLRainbows& device) {
    flush_draw_batch(device);
    if (device.fullscreen) platform::leave_fullscreen_mode(device.window);
    platform::hide_window(device.window);
    device.fullscreen = 0;
    pump_window_messages(nullptr);
    return 1;
}

int32_t close_window(OpenGLRainbows& device) {
    flush_draw_batch(device);
    delete_all_sprites(device);
    for (int32_t set = 0; set < kBackgroundSetCount; ++set) free_background(device, set);
    leave_fullscreen(device);
    platform::make_gl_current(device.window, nullptr);
    platform::destroy_window(device.window);
    device.window = nullptr;
    device.window_width = 0;
    device.window_height = 0;
    return 0;
}

}  // namespace tvk
