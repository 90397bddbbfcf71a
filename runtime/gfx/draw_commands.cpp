// The drawing commands of the compiled program: blending and alpha, sprites and
// animation frames (gathered in the draw batch where they can be), polyvectors and
// the batch's switches.
#include "runtime/gfx/draw_commands.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"

namespace tvk {

namespace {

// The slot when it can be drawn: inside the table and not empty.
const SpriteSlot* drawable(OpenGLRainbows& device, int32_t slot) {
    if (slot < 0 || slot >= kSpriteCommandSlots) return nullptr;
    const SpriteSlot* s = sprite_slot(device, slot);
    return s->width > 0 ? s : nullptr;
}

// A double truncated toward zero, held inside the 32-bit range (NaN gives 0), so that
// a wild zoom factor cannot make an undefined conversion.
int32_t truncate_number(double value) {
    if (!(value == value)) return 0;
    return static_cast<int32_t>(std::clamp(value, -2147483520.0, 2147483520.0));
}

void restore_colour(const OpenGLRainbows& device) {
    glColor4f(1.0f, 1.0f, 1.0f, device.drawing.draw_alpha);
}

// An integer position as the vertex the quad gets; 64-bit so that the sum of a far
// position and a size cannot overflow.
float coordinate(int64_t value) { return static_cast<float>(value); }

}  // namespace

// ---- blending and alpha -----------------------------------------------------------

void set_alpha_mode(double mode) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    DrawingState& drawing = device->drawing;
    const float m = static_cast<float>(mode);
    if (m == 0.0f) {
        gl_disable(*device, GlCap::blend);
        drawing.draw_alpha = 1.0f;
    } else if (m < 0.0f) {
        gl_enable(*device, GlCap::blend);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        drawing.draw_alpha = std::min(-m, 1.0f);
    } else {
        gl_enable(*device, GlCap::blend);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        drawing.draw_alpha = std::min(m, 1.0f);
    }
    restore_colour(*device);
}

void set_alpha_test(double threshold) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    // The threshold is kept even when it switches the test off, so that primitives,
    // which put the test back from the reference, leave it off too.
    device->drawing.alpha_test_reference = static_cast<float>(threshold);
    if (threshold >= 1.0) {
        gl_disable(*device, GlCap::alpha_test);
        return;
    }
    gl_enable(*device, GlCap::alpha_test);
    glAlphaFunc(GL_GREATER, device->drawing.alpha_test_reference);
}

void set_smoothing(int32_t on) {
    if (OpenGLRainbows* device = graphics_device()) {
        flush_draw_batch(*device);
        device->drawing.smoothing = on != 0 ? 1 : 0;
    }
}

// ---- sprites ------------------------------------------------------------------------

void draw_sprite(int32_t slot, int32_t x, int32_t y) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    const SpriteSlot* s = drawable(*device, slot);
    if (!s) return;
    const float l = coordinate(x), t = coordinate(y);
    const float r = coordinate(int64_t{x} + s->width), b = coordinate(int64_t{y} + s->height);
    const float u = s->u_extent, v = s->v_extent;
    const QuadVertex quad[4] = {{r, t, u, v}, {l, t, 0.0f, v}, {l, b, 0.0f, 0.0f}, {r, b, u, 0.0f}};
    batch_textured(*device, slot, BatchPrimitive::quads, quad, 4);
}

void draw_sprite_stretched(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    const SpriteSlot* s = drawable(*device, slot);
    if (!s) return;
    const float l = static_cast<float>(x), t = static_cast<float>(y);
    const float r = l + static_cast<float>(width), b = t + static_cast<float>(height);
    const QuadVertex quad[4] = {{l, b, 0.0f, 0.0f},
                                {r, b, s->u_extent, 0.0f},
                                {r, t, s->u_extent, s->v_extent},
                                {l, t, 0.0f, s->v_extent}};
    batch_textured(*device, slot, BatchPrimitive::fans, quad, 4);
}

void draw_sprite_zoomed(int32_t slot, int32_t x, int32_t y, double zoom_x, double zoom_y) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    const SpriteSlot* s = drawable(*device, slot);
    if (!s) return;
    const int32_t w = s->width, h = s->height;
    const int32_t zw = truncate_number(zoom_x * w), zh = truncate_number(zoom_y * h);
    const int32_t grow_w = truncate_number(zoom_x * w - w);
    const int32_t grow_h = truncate_number(zoom_y * h - h);
    draw_sprite_stretched(slot, x - grow_w / 2, y - grow_h / 2, zw, zh);
}

void draw_sprite_rotozoom(int32_t slot, int32_t x, int32_t y, double angle, double zoom) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    // Drawn at once, on a matrix of its own.
    flush_draw_batch(*device);
    const SpriteSlot* s = drawable(*device, slot);
    if (!s) return;
    const float w = s->width, h = s->height;
    const float tw = s->texture_width, th = s->texture_height;
    const float ul = 0.5f / tw, ur = (w - 0.5f) / tw, vb = 0.5f / th, vt = (h - 0.5f) / th;
    const float hw = static_cast<float>(zoom * w * 0.5), hh = static_cast<float>(zoom * h * 0.5);
    bind_sprite(*device, slot, -1, 0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(static_cast<float>(x + (s->width >> 1)), static_cast<float>(y + (s->height >> 1)), 0.0f);
    // About -z: with y growing downwards this turns counter-clockwise on the screen.
    glRotatef(static_cast<float>(angle), 0.0f, 0.0f, -1.0f);
    apply_smoothing(*device);
    const QuadVertex quad[4] = {{-hw, hh, ul, vb}, {hw, hh, ur, vb}, {hw, -hh, ur, vt}, {-hw, -hh, ul, vt}};
    draw_quad(*device, quad);
    glPopMatrix();
}

// ---- animation frames -----------------------------------------------------------------

namespace {

// The texture rectangle of one frame; false when the slot has no frame size.
struct FrameRect {
    float ul, ur, vb, vt;
    int32_t fw, fh;
};

bool frame_rect(const SpriteSlot& s, int32_t frame, FrameRect& r) {
    r.fw = s.frame_width;
    r.fh = s.frame_height;
    if (r.fw == 0 || r.fh == 0) return false;
    const int32_t per_row = s.width / r.fw;
    const int32_t column = per_row > 0 ? frame % per_row : frame;
    const int32_t row = per_row > 0 ? frame / per_row : 0;
    const float tw = s.texture_width, th = s.texture_height;
    r.ul = static_cast<float>(r.fw) / tw * static_cast<float>(column);
    r.ur = r.ul + static_cast<float>(r.fw) / tw;
    // Rows count from the image's top; the texture holds the image bottom up.
    r.vb = static_cast<float>(s.height - r.fh * (row + 1)) / th;
    r.vt = r.vb + static_cast<float>(r.fh) / th;
    return true;
}

}  // namespace

void draw_anim_frame(int32_t slot, int32_t frame, int32_t x, int32_t y) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    const SpriteSlot* s = drawable(*device, slot);
    FrameRect r;
    if (!s || !frame_rect(*s, frame, r)) return;
    const float l = coordinate(x), t = coordinate(y);
    const float rt = coordinate(int64_t{x} + r.fw), b = coordinate(int64_t{y} + r.fh);
    const QuadVertex quad[4] = {{rt, t, r.ur, r.vt}, {l, t, r.ul, r.vt}, {l, b, r.ul, r.vb}, {rt, b, r.ur, r.vb}};
    batch_textured(*device, slot, BatchPrimitive::quads, quad, 4);
}

void draw_anim_frame_stretched(int32_t slot, int32_t frame, int32_t x, int32_t y, int32_t width,
                               int32_t height) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    const SpriteSlot* s = drawable(*device, slot);
    FrameRect r;
    if (!s || !frame_rect(*s, frame, r)) return;
    // The right and bottom edges lie a tenth of a pixel further out.
    const float l = static_cast<float>(x), t = static_cast<float>(y);
    const float rt = static_cast<float>(x + width) + 0.1f, b = static_cast<float>(y + height) + 0.1f;
    const QuadVertex quad[4] = {{l, t, r.ul, r.vt}, {l, b, r.ul, r.vb}, {rt, b, r.ur, r.vb}, {rt, t, r.ur, r.vt}};
    batch_textured(*device, slot, BatchPrimitive::fans, quad, 4);
}

void draw_anim_frame_rotozoom(int32_t slot, int32_t frame, int32_t x, int32_t y, double angle,
                              double zoom) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    const SpriteSlot* s = drawable(*device, slot);
    FrameRect r;
    if (!s || !frame_rect(*s, frame, r)) return;
    const float tw = s->texture_width, th = s->texture_height;
    const float ul = r.ul + 0.5f / tw, ur = r.ur - 0.5f / tw;
    const float vb = r.vb + 0.5f / th, vt = r.vt - 0.5f / th;
    const float hw = static_cast<float>(r.fw * zoom * 0.5), hh = static_cast<float>(r.fh * zoom * 0.5);
    const float cx = static_cast<float>(x + r.fw / 2), cy = static_cast<float>(y + r.fh / 2);
    const float a = static_cast<float>(angle) * 0.017453292f;
    const float c = std::cos(a), sn = std::sin(a);
    auto corner = [&](float dx, float dy, float u, float v) {
        return QuadVertex{cx + c * dx + sn * dy, cy - sn * dx + c * dy, u, v};
    };
    const QuadVertex quad[4] = {corner(-hw, -hh, ul, vt), corner(-hw, hh, ul, vb),
                                corner(hw, hh, ur, vb), corner(hw, -hh, ur, vt)};
    batch_textured(*device, slot, BatchPrimitive::fans, quad, 4);
}

// ---- polyvectors ----------------------------------------------------------------------

void start_polyvector(int32_t slot, int32_t mode) {
    if (OpenGLRainbows* device = graphics_device()) start_polyvector(*device, slot, mode);
}

void add_polyvector_vertex(double x, double y, double tx, double ty, int32_t colour) {
    if (OpenGLRainbows* device = graphics_device()) {
        flush_draw_batch(*device);
        add_polyvector_vertex(*device, x, y, tx, ty, colour);
    }
}

void new_polyvector_segment() {
    if (OpenGLRainbows* device = graphics_device()) {
        flush_draw_batch(*device);
        new_polyvector_segment(*device);
    }
}

void end_polyvector() {
    if (OpenGLRainbows* device = graphics_device()) end_polyvector(*device);
}

// ---- the draw batch --------------------------------------------------------------------

void flush_draw_batch() {
    if (OpenGLRainbows* device = graphics_device()) flush_draw_batch(*device);
}

void set_draw_batching(bool on) {
    if (OpenGLRainbows* device = graphics_device()) set_draw_batching(*device, on);
}

void set_unscaled_nearest(bool on) {
    if (OpenGLRainbows* device = graphics_device()) set_unscaled_nearest(*device, on);
}

}  // namespace tvk
