// The polyvector batch: textured and coloured triangles collected vertex by vertex
// and drawn with one call.
#include "runtime/gfx/polyvector.h"

#include <GL/gl.h>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"

namespace tvk {

void start_polyvector(OpenGLRainbows& device, int32_t slot, int32_t mode) {
    flush_draw_batch(device);
    PolyvectorBatch& batch = device.polyvector;
    const SpriteSlot* s = slot >= 0 && slot < kSpriteCommandSlots ? sprite_slot(device, slot) : nullptr;
    bind_sprite(device, s ? slot : -1, -1, 0);
    batch.vertices.clear();
    batch.vertices.reserve(2);
    batch.coloured = false;
    batch.mode = mode;
    if (s && s->texture_width > 0 && s->texture_height > 0) {
        batch.texture_scale_u = 1.0f / s->texture_width;
        batch.texture_scale_v = 1.0f / s->texture_height;
        batch.sprite_height = s->height;
    } else {
        batch.texture_scale_u = batch.texture_scale_v = 0.0f;
        batch.sprite_height = 0.0f;
    }
    batch.new_segment = false;
}

void add_polyvector_vertex(OpenGLRainbows& device, double x, double y, double tx, double ty,
                           int32_t colour) {
    PolyvectorBatch& batch = device.polyvector;
    const DrawingState& drawing = device.drawing;
    PolyVertex v{static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f, {255, 255, 255, 255}};
    if (drawing.bound_sprite >= 0) {
        // (tx, ty) count pixels from the image's top-left; the texture is bottom up.
        v.u = static_cast<float>(tx) * batch.texture_scale_u;
        v.v = (batch.sprite_height - static_cast<float>(ty)) * batch.texture_scale_v;
    }
    const uint32_t c = static_cast<uint32_t>(colour);
    if (c != 0xFFFFFF) {
        batch.coloured = true;
        v.colour[0] = c & 0xFF;
        v.colour[1] = (c >> 8) & 0xFF;
        v.colour[2] = (c >> 16) & 0xFF;
    }
    v.colour[3] = c == drawing.transparency_colour
                      ? 0
                      : static_cast<uint8_t>(drawing.draw_alpha * 255.0f);
    batch.vertices.push_back(v);
    if (batch.new_segment) {
        batch.vertices.push_back(v);
        batch.new_segment = false;
    }
}

void new_polyvector_segment(OpenGLRainbows& device) {
    PolyvectorBatch& batch = device.polyvector;
    if (batch.vertices.empty() || batch.new_segment) return;
    const PolyVertex last = batch.vertices.back();
    batch.vertices.push_back(last);
    batch.new_segment = true;
}

void end_polyvector(OpenGLRainbows& device) {
    flush_draw_batch(device);
    PolyvectorBatch& batch = device.polyvector;
    GLenum primitive;
    switch (batch.mode) {
    case 0: primitive = GL_TRIANGLE_FAN; break;
    case 1: primitive = GL_TRIANGLES; break;
    case 2: primitive = GL_TRIANGLE_STRIP; break;
    default: return;
    }
    if (batch.vertices.empty()) return;
    const float draw_alpha = device.drawing.draw_alpha;
    const bool textured = device.drawing.bound_sprite >= 0;
    const PolyVertex* first = batch.vertices.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(PolyVertex), &first->x);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(PolyVertex), &first->u);
    }
    if (batch.coloured || draw_alpha != 1.0f) {
        batch.coloured = true;
        gl_enable(device, GlCap::dither);
        glShadeModel(GL_SMOOTH);
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(PolyVertex), first->colour);
    }
    if (textured) apply_smoothing(device);
    glDrawArrays(primitive, 0, static_cast<GLsizei>(batch.vertices.size()));
    glDisableClientState(GL_VERTEX_ARRAY);
    if (textured) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (batch.coloured) {
        glColor4f(1.0f, 1.0f, 1.0f, draw_alpha);
        glDisableClientState(GL_COLOR_ARRAY);
        glShadeModel(GL_FLAT);
        gl_disable(device, GlCap::dither);
    }
}

}  // namespace tvk
