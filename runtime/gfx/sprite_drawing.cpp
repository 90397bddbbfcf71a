#include "runtime/gfx/sprite_drawing.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/gl_state_cache.h"
#include "runtime/gfx/scene_3d.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/gfx/targets/shader_programs.h"

namespace tvk {

namespace {

// The slot when it can be drawn: inside the table and not empty.
const SpriteSlot* drawable(OpenGLRainbows& device, int32_t slot) {
    if (slot < 0 || slot >= kSpriteCommandSlots) return nullptr;
    const SpriteSlot* s = sprite_slot(device, slot);
    return s->width > 0 ? s : nullptr;
}

uint32_t texture_of(const SpriteSlot& s, int32_t flag) {
    return flag ? s.mipmapped_texture : s.texture;
}

// A double truncated toward zero, held inside the 32-bit range (NaN gives 0), so that
// a wild zoom factor cannot make an undefined conversion.
int32_t truncate_number(double value) {
    if (!(value == value)) return 0;
    return static_cast<int32_t>(std::clamp(value, -2147483520.0, 2147483520.0));
}

void restore_colour(const OpenGLRainbows& device) { glColor4f(1.0f, 1.0f, 1.0f, device.draw_alpha); }

}  // namespace

void bind_sprite(OpenGLRainbows& device, int32_t slot, int32_t secondary, int32_t flag,
                 const SpriteSlot* table) {
    if (slot >= kSpriteSlotCount) slot = -1;
    if (secondary >= kSpriteSlotCount) secondary = -1;
    // Unit 1 is off whenever the device records no secondary sprite. Switching units
    // makes the driver flush, so a 2D draw that finds it off leaves it alone.
    const bool unit1_was_off = device.secondary_sprite < 0 || device.bound_sprite < 0;
    device.bound_sprite = slot;
    device.secondary_sprite = secondary;
    device.secondary_texture_flag = flag;
    const GlExtensions& ext = gl_extensions();
    if (ext.glActiveTextureARB && !(unit1_was_off && (secondary < 0 || slot < 0))) {
        // The state cache follows unit 0 only; unit 1 is switched here directly.
        ext.glActiveTextureARB(GL_TEXTURE1_ARB);
        if (secondary < 0 || slot < 0) {
            glDisable(GL_TEXTURE_2D);
        } else {
            const SpriteSlot& s = table ? table[secondary] : *sprite_slot(device, secondary);
            glBindTexture(GL_TEXTURE_2D, texture_of(s, flag));
            glEnable(GL_TEXTURE_2D);
        }
        ext.glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    if (slot < 0) {
        gl_disable(GlCap::texture_2d);
        if (!ext.glActiveTextureARB) gl_enable(GlCap::colour_material);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, texture_of(*sprite_slot(device, slot), flag));
    gl_enable(GlCap::texture_2d);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

namespace {

// Both filters of the bound texture: linear, or the nearest texel.
void set_texture_filter(bool linear) {
    const GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

}  // namespace

void apply_smoothing(const OpenGLRainbows& device) { set_texture_filter(device.smoothing != 0); }

void draw_quad(OpenGLRainbows& device, const QuadVertex* vertices) {
    const bool textured = device.bound_sprite >= 0;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(QuadVertex), &vertices[0].x);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(QuadVertex), &vertices[0].u);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    if (textured) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// ---- blending and alpha -----------------------------------------------------------

void set_alpha_mode(double mode) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    const float m = static_cast<float>(mode);
    if (m == 0.0f) {
        gl_disable(GlCap::blend);
        device->draw_alpha = 1.0f;
    } else if (m < 0.0f) {
        gl_enable(GlCap::blend);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        device->draw_alpha = std::min(-m, 1.0f);
    } else {
        gl_enable(GlCap::blend);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        device->draw_alpha = std::min(m, 1.0f);
    }
    restore_colour(*device);
}

void set_alpha_test(double threshold) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    // The threshold is kept even when it switches the test off, so that primitives,
    // which put the test back from the reference, leave it off too.
    device->alpha_test_reference = static_cast<float>(threshold);
    if (threshold >= 1.0) {
        gl_disable(GlCap::alpha_test);
        return;
    }
    gl_enable(GlCap::alpha_test);
    glAlphaFunc(GL_GREATER, device->alpha_test_reference);
}

void set_smoothing(int32_t on) {
    if (OpenGLRainbows* device = graphics_device()) device->smoothing = on != 0 ? 1 : 0;
}

// ---- sprites ------------------------------------------------------------------------

namespace {

// The filter of a quad that maps the sprite's texels one to one onto pixels (an
// unscaled sprite or frame at an integer position). Every pixel centre then lies on
// a texel centre, where linear filtering returns that texel unchanged, so nearest
// filtering draws the same pixels, much faster in a software renderer. It holds on
// the upright 2D projection (one unit per pixel, on the window and in render
// targets alike) and without a shader program, which may sample anywhere. Font
// slots keep the smoothing filter: their text draws use whatever filter the
// texture was left with.
int8_t unscaled_quad_filter(const OpenGLRainbows& device, int32_t slot) {
    if (!device.smoothing) return 0;
    if (!device.draw_batch.unscaled_nearest || device.orientation != 0 || slot >= kFontSlotBase)
        return 1;
    const Scene3D* scene = scene_3d();
    if ((scene && scene->in_3d_mode) || shader_table().current >= 0) return 1;
    return 0;
}

}  // namespace

void batch_textured(OpenGLRainbows& device, int32_t slot, BatchPrimitive primitive,
                    const QuadVertex* vertices, int32_t count) {
    DrawBatchKey key;
    key.primitive = primitive;
    key.texture = sprite_slot(device, slot)->texture;
    key.clamp = primitive == BatchPrimitive::fans;
    switch (primitive) {
    case BatchPrimitive::quads: key.filter = unscaled_quad_filter(device, slot); break;
    case BatchPrimitive::strips: key.filter = -1; break;
    default: key.filter = static_cast<int8_t>(device.smoothing); break;
    }
    if (!batch_accepts(device.draw_batch, key)) {
        flush_draw_batch(device);
        bind_sprite(device, slot, -1, 0);
        if (key.filter >= 0) set_texture_filter(key.filter != 0);
        if (key.clamp) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
    }
    batch_add(device, key, vertices, count);
}

namespace {

// An integer position as the vertex the quad gets; 64-bit so that the sum of a far
// position and a size cannot overflow.
float coordinate(int64_t value) { return static_cast<float>(value); }

}  // namespace

void draw_sprite(int32_t slot, int32_t x, int32_t y) {
    OpenGLRainbows* device = drawing_device();
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
    OpenGLRainbows* device = drawing_device();
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
    OpenGLRainbows* device = drawing_device();
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

void set_anim_frame_size(int32_t slot, int32_t frame_width, int32_t frame_height) {
    OpenGLRainbows* device = graphics_device();
    if (!device || slot < 0 || slot >= kSpriteCommandSlots) return;
    SpriteSlot* s = sprite_slot(*device, slot);
    if (s->width <= 0) return;
    s->frame_width = static_cast<int16_t>(std::clamp(frame_width, 0, 32767));
    s->frame_height = static_cast<int16_t>(std::clamp(frame_height, 0, 32767));
}

void load_anim(const RtString& file_name, int32_t slot, int32_t frame_width, int32_t frame_height) {
    load_sprite(file_name, slot);
    set_anim_frame_size(slot, frame_width, frame_height);
}

void draw_anim_frame(int32_t slot, int32_t frame, int32_t x, int32_t y) {
    OpenGLRainbows* device = drawing_device();
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
    OpenGLRainbows* device = drawing_device();
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
    OpenGLRainbows* device = drawing_device();
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

}  // namespace tvk
