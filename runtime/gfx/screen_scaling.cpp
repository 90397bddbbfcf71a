// The logical screen scaled to its window: the framebuffer that stands for the
// screen, and the copy of each finished frame into the window.
#include "runtime/gfx/screen_scaling.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/trace_log.h"

namespace tvk {

namespace {

bool driver_can_scale(const GlExtensions& g) {
    return g.framebuffers_available() && g.glBindFramebufferEXT && g.glGenRenderbuffersEXT &&
           g.glBindRenderbufferEXT && g.glRenderbufferStorageEXT && g.glFramebufferRenderbufferEXT &&
           g.glCheckFramebufferStatusEXT && g.glDeleteFramebuffersEXT && g.glDeleteRenderbuffersEXT &&
           g.glBlitFramebufferEXT;
}

void delete_objects(ScreenScaling& s) {
    const GlExtensions& g = gl_extensions();
    if (s.framebuffer != 0 && g.glDeleteFramebuffersEXT) g.glDeleteFramebuffersEXT(1, &s.framebuffer);
    if (s.colour_buffer != 0 && g.glDeleteRenderbuffersEXT) g.glDeleteRenderbuffersEXT(1, &s.colour_buffer);
    if (s.depth_stencil_buffer != 0 && g.glDeleteRenderbuffersEXT)
        g.glDeleteRenderbuffersEXT(1, &s.depth_stencil_buffer);
    s.framebuffer = s.colour_buffer = s.depth_stencil_buffer = 0;
    s.width = s.height = 0;
}

void clear_gl_errors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

// The depth and stencil the window would have had: one packed buffer, or depth
// alone where the driver has no packed format.
void attach_depth_stencil(const GlExtensions& g, ScreenScaling& s, int32_t width, int32_t height) {
    g.glGenRenderbuffersEXT(1, &s.depth_stencil_buffer);
    g.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, s.depth_stencil_buffer);
    clear_gl_errors();
    g.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH24_STENCIL8_EXT, width, height);
    if (glGetError() == GL_NO_ERROR) {
        g.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                       s.depth_stencil_buffer);
        g.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT,
                                       GL_RENDERBUFFER_EXT, s.depth_stencil_buffer);
        return;
    }
    g.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
    g.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                   s.depth_stencil_buffer);
}

// A complete framebuffer of width by height, bound and cleared; false leaves none.
bool make_framebuffer(ScreenScaling& s, int32_t width, int32_t height, bool with_depth) {
    const GlExtensions& g = gl_extensions();
    delete_objects(s);
    if (width < 1 || height < 1) return false;
    g.glGenFramebuffersEXT(1, &s.framebuffer);
    g.glGenRenderbuffersEXT(1, &s.colour_buffer);
    if (s.framebuffer == 0 || s.colour_buffer == 0) {
        delete_objects(s);
        return false;
    }
    g.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, s.framebuffer);
    g.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, s.colour_buffer);
    g.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, width, height);
    g.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT,
                                   s.colour_buffer);
    if (with_depth) attach_depth_stencil(g, s, width, height);
    g.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    if (g.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
        g.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        delete_objects(s);
        return false;
    }
    s.width = width;
    s.height = height;
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glClear(GL_COLOR_BUFFER_BIT | (with_depth ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : 0));
    return true;
}

// Drawing goes through the framebuffer from now on. A render target being drawn
// stays bound; otherwise the new framebuffer is, and the frame begun in the window
// starts again there, cleared (a window's back buffer keeps nothing over a resize).
void leave_direct_drawing(OpenGLRainbows& device) {
    DisplayState& display = device.display;
    ScreenScaling& s = display.scaling;
    flush_draw_batch(device);
    const GlExtensions& g = gl_extensions();
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    s.direct = 0;
    if (!make_framebuffer(s, s.width, s.height, display.depth_stencil_buffer != 0)) {
        // The screen goes on unscaled rather than drawing nowhere.
        log_line("No scaled screen: the framebuffer cannot be made\n");
        s.active = 0;
        g.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(bound));
        return;
    }
    if (bound != 0) {
        g.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(bound));
        glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    }
}

}  // namespace

platform::ScreenRect scaled_rectangle(int32_t frame_width, int32_t frame_height, int32_t window_width,
                                      int32_t window_height) {
    if (frame_width <= 0 || frame_height <= 0 || window_width <= 0 || window_height <= 0) return {};
    const int64_t fw = frame_width, fh = frame_height, ww = window_width, wh = window_height;
    int64_t w = ww, h = wh;
    // The side that runs out first fills the window; the other keeps the shape,
    // rounded to the nearest pixel.
    if (ww * fh <= wh * fw) {
        h = (ww * fh * 2 + fw) / (fw * 2);
    } else {
        w = (wh * fw * 2 + fh) / (fh * 2);
    }
    return {static_cast<int32_t>((ww - w) / 2), static_cast<int32_t>((wh - h) / 2), static_cast<int32_t>(w),
            static_cast<int32_t>(h)};
}

bool whole_multiple(const platform::ScreenRect& shown, int32_t frame_width, int32_t frame_height) {
    return frame_width > 0 && frame_height > 0 && shown.width % frame_width == 0 &&
           shown.height % frame_height == 0 && shown.width / frame_width == shown.height / frame_height;
}

int32_t first_window_scale(int32_t frame_width, int32_t frame_height, int32_t desktop_width,
                           int32_t desktop_height) {
    if (frame_width <= 0 || frame_height <= 0 || desktop_width <= 0 || desktop_height <= 0) return 1;
    const int64_t by_height = static_cast<int64_t>(desktop_height) * 4 / 5 / frame_height;
    const int64_t by_width = static_cast<int64_t>(desktop_width) * 4 / 5 / frame_width;
    return static_cast<int32_t>(std::max<int64_t>(1, std::min(by_height, by_width)));
}

bool start_screen_scaling(OpenGLRainbows& device) {
    DisplayState& display = device.display;
    ScreenScaling& s = display.scaling;
    s.active = 0;
    if (!driver_can_scale(gl_extensions())) {
        log_line("No scaled screen: no framebuffer blits\n");
        return false;
    }
    delete_objects(s);
    s.width = display.window_width;
    s.height = display.window_height;
    s.active = 1;
    s.direct = 1;
    s.placed = 0;
    platform::set_window_resizable(display.window, true);
    read_screen_window_size(device);
    return true;
}

void stop_screen_scaling(OpenGLRainbows& device) {
    ScreenScaling& s = device.display.scaling;
    if (!s.active) return;
    flush_draw_batch(device);
    const GlExtensions& g = gl_extensions();
    if (g.glBindFramebufferEXT) g.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    delete_objects(s);
    s.active = 0;
    s.direct = 0;
    s.placed = 0;
}

bool match_screen_framebuffer(OpenGLRainbows& device) {
    DisplayState& display = device.display;
    ScreenScaling& s = display.scaling;
    if (!s.active || (s.width == display.window_width && s.height == display.window_height)) return false;
    if (s.direct) {
        // Still drawing in the window: its next size decides whether a framebuffer is needed.
        s.width = display.window_width;
        s.height = display.window_height;
        return true;
    }
    flush_draw_batch(device);
    if (!make_framebuffer(s, display.window_width, display.window_height, display.depth_stencil_buffer != 0)) {
        // The screen goes on unscaled rather than drawing nowhere.
        log_line("No scaled screen: the framebuffer cannot be made\n");
        s.active = 0;
        gl_extensions().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
    return true;
}

void bind_screen_framebuffer(OpenGLRainbows& device) {
    const GlExtensions& g = gl_extensions();
    if (!g.glBindFramebufferEXT) return;
    flush_draw_batch(device);
    const ScreenScaling& s = device.display.scaling;
    g.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, s.active ? s.framebuffer : 0);
}

uint32_t screen_read_buffer(const OpenGLRainbows& device) {
    const ScreenScaling& s = device.display.scaling;
    return s.active && !s.direct ? GL_COLOR_ATTACHMENT0_EXT : GL_BACK;
}

void screen_window_resized(OpenGLRainbows& device, int32_t width, int32_t height) {
    ScreenScaling& s = device.display.scaling;
    s.window_width = std::max(width, 0);
    s.window_height = std::max(height, 0);
    const bool own_size = s.window_width == s.width && s.window_height == s.height;
    if (s.active && s.direct && !own_size && s.window_width > 0 && s.window_height > 0) {
        leave_direct_drawing(device);
    }
}

void read_screen_window_size(OpenGLRainbows& device) {
    int32_t width = 0, height = 0;
    platform::window_client_size(device.display.window, width, height);
    screen_window_resized(device, width, height);
}

platform::ScreenRect shown_screen_rectangle(const OpenGLRainbows& device) {
    const DisplayState& display = device.display;
    const ScreenScaling& s = display.scaling;
    if (!s.active) return {0, 0, display.window_width, display.window_height};
    return scaled_rectangle(s.width, s.height, s.window_width, s.window_height);
}

void show_scaled_frame(OpenGLRainbows& device) {
    const ScreenScaling& s = device.display.scaling;
    if (!s.active || s.direct) return;
    flush_draw_batch(device);
    const GlExtensions& g = gl_extensions();
    // A scissor box the program left on would cut the bars and the copy; it is put
    // back as it was, so the capability cache stays true.
    const bool scissor = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    if (scissor) glDisable(GL_SCISSOR_TEST);
    g.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    const platform::ScreenRect shown = scaled_rectangle(s.width, s.height, s.window_width, s.window_height);
    if (shown.width > 0 && shown.height > 0) {
        // OpenGL counts window rows from the bottom.
        const int32_t bottom = s.window_height - shown.y - shown.height;
        g.glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, s.framebuffer);
        g.glBlitFramebufferEXT(0, 0, s.width, s.height, shown.x, bottom, shown.x + shown.width,
                               bottom + shown.height, GL_COLOR_BUFFER_BIT,
                               whole_multiple(shown, s.width, s.height) ? GL_NEAREST : GL_LINEAR);
        g.glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, 0);
    }
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

}  // namespace tvk
