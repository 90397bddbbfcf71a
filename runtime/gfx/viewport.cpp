// The 2D state of the device and the mapping of the logical screen onto the window.
#include <GL/gl.h>

#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/gl_state_cache.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/scene_3d.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/targets/render_target.h"

namespace tvk {

namespace {

bool turned(const OpenGLRainbows& device) { return device.orientation == 1 || device.orientation == 3; }

}  // namespace

void reset_frame_drawing(OpenGLRainbows& device) {
    if (gl_state(GlCap::blend) != 0) gl_disable(GlCap::blend);
    device.draw_alpha = 1.0f;
    glColor4f(1, 1, 1, 1);
    reset_2d_state(device);
}

void reset_2d_state(OpenGLRainbows& device) {
    flush_draw_batch(device);
    set_viewport(device, 0, 0, 0, 0);
    gl_state_cache_forget();
    gl_disable(GlCap::depth_test);
    gl_disable(GlCap::cull_face);
    glFrontFace(GL_CCW);
    gl_enable(GlCap::alpha_test);
    glAlphaFunc(GL_GREATER, 0.05f);
    device.alpha_test_reference = 0.05f;
    glColor4f(1, 1, 1, 1);
    gl_disable(GlCap::fog);
    gl_disable(GlCap::line_smooth);
    gl_disable(GlCap::point_smooth);
    gl_disable(GlCap::stencil_test);
    gl_disable(GlCap::normalize);
    gl_disable(GlCap::lighting);
    glShadeModel(GL_FLAT);
    gl_disable(GlCap::colour_material);
    gl_disable(GlCap::dither);
    gl_disable(GlCap::polygon_smooth);
    gl_disable(GlCap::polygon_offset_point);
    gl_disable(GlCap::auto_normal);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
    device.smoothing = 1;
    bind_sprite(device, -1, -1, 0);
    gl_disable(GlCap::blend);
    device.draw_alpha = 1.0f;
    glColor4f(1, 1, 1, 1);
}

void set_viewport(OpenGLRainbows& device, int32_t x, int32_t y, int32_t w, int32_t h) {
    flush_draw_batch(device);
    const int32_t target = device.current_render_target;
    if (w <= 0 || h <= 0) {
        x = y = 0;
        if (target >= 0) {
            render_target_size(device, target, w, h);
        } else {
            w = turned(device) ? device.window_height : device.window_width;
            h = turned(device) ? device.window_width : device.window_height;
        }
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (target >= 0) {
        int32_t target_width = 0, target_height = 0;
        render_target_size(device, target, target_width, target_height);
        glViewport(x, target_height - h - y, w, h);
    } else {
        // The logical screen's top edge lies along the window's top (0), right (1),
        // bottom (2) or left (3) edge.
        static const float kTurn[4] = {0.0f, -90.0f, 180.0f, 90.0f};
        const int32_t o = device.orientation & 3;
        if (o != 0) glRotatef(kTurn[o], 0, 0, 1);
        const int32_t W = device.window_width;
        const int32_t H = device.window_height;
        int32_t left = x, top = y, width = w, height = h;
        switch (o) {
            case 1: left = W - y - h; top = x; width = h; height = w; break;
            case 2: left = W - x - w; top = H - y - h; break;
            case 3: left = y; top = H - x - w; width = h; height = w; break;
            default: break;
        }
        glViewport(left, H - height - top, width, height);
    }
    glOrtho(0, w, h, 0, -1, 1);
    device.viewport_x = x;
    device.viewport_y = y;
    device.viewport_width = w;
    device.viewport_height = h;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void set_orientation(OpenGLRainbows& device, int32_t orientation) {
    flush_draw_batch(device);
    device.orientation = orientation < 0 ? 0 : orientation > 3 ? 3 : orientation;
    if (Scene3D* scene = scene_3d()) leave_3d_mode(*scene);
    set_viewport(device, 0, 0, 0, 0);
}

void get_screen_size(const OpenGLRainbows& device, int32_t& width, int32_t& height) {
    if (device.current_render_target >= 0) {
        render_target_size(const_cast<OpenGLRainbows&>(device), device.current_render_target,
                                   width, height);
        return;
    }
    width = turned(device) ? device.window_height : device.window_width;
    height = turned(device) ? device.window_width : device.window_height;
}

void get_viewport(const OpenGLRainbows& device, int32_t& x, int32_t& y, int32_t& width,
                  int32_t& height) {
    x = device.viewport_x;
    y = device.viewport_y;
    width = device.viewport_width;
    height = device.viewport_height;
}

int32_t is_fullscreen(const OpenGLRainbows& device) { return device.fullscreen ? 1 : 0; }

void set_frame_rate(OpenGLRainbows& device, int32_t frames_per_second) {
    device.frame_interval = frames_per_second > 0 ? 1000.0 / frames_per_second : 2.0;
}

void set_clear_colour(OpenGLRainbows& device, int32_t colour) {
    if (colour == -1) {
        device.clear_enabled = 0;
        return;
    }
    device.clear_enabled = 1;
    const auto c = static_cast<uint32_t>(colour);
    glClearColor(static_cast<float>(c & 0xFF) / 255.0f, static_cast<float>((c >> 8) & 0xFF) / 255.0f,
                 static_cast<float>((c >> 16) & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace tvk
