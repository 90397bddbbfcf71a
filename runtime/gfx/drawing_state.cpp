// The 2D state the device starts from, on opening the window and every frame.
#include "runtime/gfx/drawing_state.h"

#include <GL/gl.h>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"

namespace tvk {

void reset_frame_drawing(OpenGLRainbows& device) {
    flush_draw_batch(device);
    if (gl_state(device, GlCap::blend) != 0) gl_disable(device, GlCap::blend);
    device.drawing.draw_alpha = 1.0f;
    glColor4f(1, 1, 1, 1);
    reset_2d_state(device);
}

void reset_2d_state(OpenGLRainbows& device) {
    flush_draw_batch(device);
    set_viewport(device, 0, 0, 0, 0);
    gl_state_cache_forget(device);
    gl_disable(device, GlCap::depth_test);
    gl_disable(device, GlCap::cull_face);
    glFrontFace(GL_CCW);
    gl_enable(device, GlCap::alpha_test);
    glAlphaFunc(GL_GREATER, 0.05f);
    DrawingState& drawing = device.drawing;
    drawing.alpha_test_reference = 0.05f;
    glColor4f(1, 1, 1, 1);
    gl_disable(device, GlCap::fog);
    gl_disable(device, GlCap::line_smooth);
    gl_disable(device, GlCap::point_smooth);
    gl_disable(device, GlCap::stencil_test);
    gl_disable(device, GlCap::normalize);
    gl_disable(device, GlCap::lighting);
    glShadeModel(GL_FLAT);
    gl_disable(device, GlCap::colour_material);
    gl_disable(device, GlCap::dither);
    gl_disable(device, GlCap::polygon_smooth);
    gl_disable(device, GlCap::polygon_offset_point);
    gl_disable(device, GlCap::auto_normal);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
    drawing.smoothing = 1;
    bind_sprite(device, -1, -1, 0);
    gl_disable(device, GlCap::blend);
    drawing.draw_alpha = 1.0f;
    glColor4f(1, 1, 1, 1);
}

}  // namespace tvk
