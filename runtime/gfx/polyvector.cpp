// The polyvector batch: textured and coloured triangles collected vertex by vertex
// and drawn with one call. The batch is reused from frame to frame.
#include <GL/gl.h>

#include <vector>

#include "runtime/gfx/gl_state_cache.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/sprite_store.h"

namespace tvk {
namespace {

struct PolyVertex {
    float x, y, u, v;
    uint8_t colour[4];  // R, G, B, A
};
static_assert(sizeof(PolyVertex) == 20);

struct PolyvectorBatch {
    std::vector<PolyVertex> vertices;
    int32_t mode = 0;            // 0 fan, 1 triangles, 2 strip
    float texture_scale_u = 0;   // 1 / texture width of the batch sprite
    float texture_scale_v = 0;   // 1 / texture height
    float sprite_height = 0;
    bool coloured = false;       // some vertex was not white
    bool new_segment = false;    // the next vertex is doubled to join strips
};

PolyvectorBatch& polyvector_batch() {
    static PolyvectorBatch batch;
    return batch;
}

}  // namespace

void start_polyvector(int32_t slot, int32_t mode) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    PolyvectorBatch& batch = polyvector_batch();
    const SpriteSlot* s = slot >= 0 && slot < kSpriteCommandSlots ? sprite_slot(*device, slot) : nullptr;
    bind_sprite(*device, s ? slot : -1, -1, 0);
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

void add_polyvector_vertex(double x, double y, double tx, double ty, int32_t colour) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    PolyvectorBatch& batch = polyvector_batch();
    PolyVertex v{static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f, {255, 255, 255, 255}};
    if (device->bound_sprite >= 0) {
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
    v.colour[3] = c == device->transparency_colour
                      ? 0
                      : static_cast<uint8_t>(device->draw_alpha * 255.0f);
    batch.vertices.push_back(v);
    if (batch.new_segment) {
        batch.vertices.push_back(v);
        batch.new_segment = false;
    }
}

void new_polyvector_segment() {
    PolyvectorBatch& batch = polyvector_batch();
    if (batch.vertices.empty() || batch.new_segment) return;
    const PolyVertex last = batch.vertices.back();
    batch.vertices.push_back(last);
    batch.new_segment = true;
}

void end_polyvector() {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    PolyvectorBatch& batch = polyvector_batch();
    GLenum primitive;
    switch (batch.mode) {
    case 0: primitive = GL_TRIANGLE_FAN; break;
    case 1: primitive = GL_TRIANGLES; break;
    case 2: primitive = GL_TRIANGLE_STRIP; break;
    default: return;
    }
    if (batch.vertices.empty()) return;
    const bool textured = device->bound_sprite >= 0;
    const PolyVertex* first = batch.vertices.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(PolyVertex), &first->x);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(PolyVertex), &first->u);
    }
    if (batch.coloured || device->draw_alpha != 1.0f) {
        batch.coloured = true;
        gl_enable(GlCap::dither);
        glShadeModel(GL_SMOOTH);
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(PolyVertex), first->colour);
    }
    if (textured) apply_smoothing(*device);
    glDrawArrays(primitive, 0, static_cast<GLsizei>(batch.vertices.size()));
    glDisableClientState(GL_VERTEX_ARRAY);
    if (textured) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (batch.coloured) {
        glColor4f(1.0f, 1.0f, 1.0f, device->draw_alpha);
        glDisableClientState(GL_COLOR_ARRAY);
        glShadeModel(GL_FLAT);
        gl_disable(GlCap::dither);
    }
}

}  // namespace tvk
