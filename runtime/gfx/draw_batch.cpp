#include "runtime/gfx/draw_batch.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/opengl_rainbows.h"

namespace tvk {

namespace {

// A frame of many thousand sprites is handed over in slices of this many vertices,
// so that the copy the driver makes of each slice stays in the cache.
constexpr size_t kFlushVertices = 4 * 8192;

void draw_each(GLenum mode, const DrawBatch& batch) {
    const GlExtensions& ext = gl_extensions();
    const auto n = static_cast<GLsizei>(batch.firsts.size());
    if (ext.glMultiDrawArrays) {
        ext.glMultiDrawArrays(mode, batch.firsts.data(), batch.counts.data(), n);
        return;
    }
    for (GLsizei i = 0; i < n; ++i) glDrawArrays(mode, batch.firsts[i], batch.counts[i]);
}

}  // namespace

bool batch_accepts(const DrawBatch& batch, const DrawBatchKey& key) {
    return !batch.vertices.empty() && batch.key == key;
}

void batch_add(OpenGLRainbows& device, const DrawBatchKey& key, const QuadVertex* vertices,
               int32_t count) {
    DrawBatch& batch = device.draw_batch;
    batch.key = key;
    if (key.primitive != BatchPrimitive::quads) {
        batch.firsts.push_back(static_cast<int32_t>(batch.vertices.size()));
        batch.counts.push_back(count);
    }
    batch.vertices.insert(batch.vertices.end(), vertices, vertices + count);
    if (!batch.enabled || batch.vertices.size() >= kFlushVertices) flush_draw_batch(device);
}

void flush_draw_batch(OpenGLRainbows& device) {
    DrawBatch& batch = device.draw_batch;
    if (batch.vertices.empty()) return;
    constexpr GLsizei kStride = sizeof(QuadVertex);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, kStride, &batch.vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, kStride, &batch.vertices[0].u);
    switch (batch.key.primitive) {
    case BatchPrimitive::quads:
        glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(batch.vertices.size()));
        break;
    case BatchPrimitive::fans: draw_each(GL_TRIANGLE_FAN, batch); break;
    case BatchPrimitive::strips: draw_each(GL_TRIANGLE_STRIP, batch); break;
    case BatchPrimitive::none: break;
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    batch.vertices.clear();
    batch.firsts.clear();
    batch.counts.clear();
}

void set_draw_batching(OpenGLRainbows& device, bool on) {
    flush_draw_batch(device);
    device.draw_batch.enabled = on;
}

void set_unscaled_nearest(OpenGLRainbows& device, bool on) {
    flush_draw_batch(device);
    device.draw_batch.unscaled_nearest = on;
}

}  // namespace tvk
