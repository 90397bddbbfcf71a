// Untextured primitives (pixel, line, filled rectangle) in a packed colour, and
// reading one pixel back.
#include "runtime/gfx/primitive_commands.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"

namespace tvk {
namespace {

// The current colour for a primitive: the transparency colour draws alpha 0, so that
// drawing it with blending off punches transparent holes into the target.
void primitive_colour(const OpenGLRainbows& device, int32_t colour) {
    const uint32_t c = static_cast<uint32_t>(colour);
    const uint8_t alpha = c == device.drawing.transparency_colour
                              ? 0
                              : static_cast<uint8_t>(device.drawing.draw_alpha * 255.0f);
    glColor4ub(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, alpha);
}

// Untextured, with integer coordinates on pixel centres.
void begin_primitive(OpenGLRainbows& device, int32_t colour) {
    primitive_colour(device, colour);
    bind_sprite(device, -1, -1, 0);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
}

// Kept out of line: the memory check names it in a suppression for the GL driver's
// own reads during the primitive's flush, and a build without debug information
// (Release) shows only functions that exist as symbols.
[[gnu::noinline]] void end_primitive(const OpenGLRainbows& device) {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glColor4f(1.0f, 1.0f, 1.0f, device.drawing.draw_alpha);
}

}  // namespace

void set_pixel(int32_t x, int32_t y, int32_t colour) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    begin_primitive(*device, colour);
    glBegin(GL_POINTS);
    glVertex2i(x, y);
    glEnd();
    end_primitive(*device);
}

void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    begin_primitive(*device, colour);
    glBegin(GL_LINES);
    glVertex2i(x1, y1);
    glVertex2i(x2, y2);
    glEnd();
    // Lines leave out their last pixel; it is always wanted.
    glBegin(GL_POINTS);
    glVertex2i(x2, y2);
    glEnd();
    end_primitive(*device);
}

void draw_rect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    // A negative size counts from the other edge. 64-bit so that no sum overflows.
    const int64_t left = width < 0 ? int64_t{x} + width + 1 : x;
    const int64_t right = width < 0 ? int64_t{x} + 1 : int64_t{x} + width;
    const int64_t top = height < 0 ? int64_t{y} + height + 1 : y;
    const int64_t bottom = top + std::llabs(height);
    begin_primitive(*device, colour);
    const DrawingState& drawing = device->drawing;
    // The alpha test would throw away the alpha-0 fragments of the transparency colour.
    if (static_cast<uint32_t>(colour) == drawing.transparency_colour &&
        gl_state(*device, GlCap::alpha_test) == 1)
        gl_disable(*device, GlCap::alpha_test);
    const float l = static_cast<float>(left), r = static_cast<float>(right);
    const float t = static_cast<float>(top), b = static_cast<float>(bottom);
    const QuadVertex quad[4] = {{l, b, 0, 0}, {r, b, 0, 0}, {r, t, 0, 0}, {l, t, 0, 0}};
    draw_quad(*device, quad);
    if (drawing.alpha_test_reference >= 1.0f) {
        gl_disable(*device, GlCap::alpha_test);
    } else {
        gl_enable(*device, GlCap::alpha_test);
        glAlphaFunc(GL_GREATER, drawing.alpha_test_reference);
    }
    end_primitive(*device);
}

int32_t get_pixel(int32_t x, int32_t y) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return 0;
    flush_draw_batch(*device);
    int32_t px = x, row;
    if (device->targets.current >= 0) {
        int32_t tw = 0, th = 0;
        render_target_size(*device, device->targets.current, tw, th);
        // A target on a framebuffer object is read from its attachment; an emulated
        // one draws on the back buffer (no attachment to name there).
        GLint framebuffer = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
        glReadBuffer(framebuffer != 0 ? GL_COLOR_ATTACHMENT0_EXT : GL_BACK);
        row = th - y - 1;
    } else {
        // The window pixel showing logical (x, y) in the screen's orientation.
        const int32_t w = device->display.window_width, h = device->display.window_height;
        int32_t wx = x, wy = y;
        switch (device->screen.orientation) {
        case 1: wx = w - 1 - y; wy = x; break;
        case 2: wx = w - 1 - x; wy = h - 1 - y; break;
        case 3: wx = y; wy = h - 1 - x; break;
        default: break;
        }
        glReadBuffer(screen_read_buffer(*device));
        px = wx;
        row = h - wy - 1;
    }
    uint8_t bytes[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (device->display.bgra_supported) {
        glReadPixels(px, row, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, bytes);
        return bytes[2] | (bytes[1] << 8) | (bytes[0] << 16);
    }
    glReadPixels(px, row, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, bytes);
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16);
}

}  // namespace tvk
