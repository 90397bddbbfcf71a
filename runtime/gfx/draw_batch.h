#pragma once
// Consecutive sprite, animation-frame and text draws that share their texture and
// drawing state are gathered here and handed to OpenGL in one call. Any command
// that could see or change the result of the gathered draws flushes them first:
// graphics_device() does so for every command that reaches the device, and so does
// every capability switch and the presenting of a frame. The device forms of those
// commands (taking an OpenGLRainbows&) flush again at their start: the runtime's own
// code calls them directly, without passing through graphics_device(). Shader
// program and uniform changes flush too. The pixels are those of
// drawing each command on its own: every draw keeps its own primitive (a quad, a
// fan of four corners, a text strip), its vertices and their order.
#include <cstdint>
#include <vector>

namespace tvk {

class OpenGLRainbows;

// One corner: position and texture coordinate (16 bytes).
struct QuadVertex {
    float x, y, u, v;
};

enum class BatchPrimitive : uint8_t { none, quads, fans, strips };

// What must stay the same for draws to share one GL call. The texture's wrap and
// filter are texture-object state, set once when the batch starts.
struct DrawBatchKey {
    BatchPrimitive primitive = BatchPrimitive::none;
    uint32_t texture = 0;
    bool clamp = false;      // wrap clamped to the edges, else repeated
    int8_t filter = -1;      // 0 nearest, 1 linear, -1 left as the texture has it
    bool operator==(const DrawBatchKey&) const = default;
};

struct DrawBatch {
    DrawBatchKey key;
    std::vector<QuadVertex> vertices;
    // Fans and strips: where each draw's vertices start and how many it has.
    std::vector<int32_t> firsts;
    std::vector<int32_t> counts;
    bool enabled = true;     // off: every draw is flushed on its own
    // Unscaled sprites and frames sample the nearest texel even with smoothing on
    // (see set_unscaled_nearest).
    bool unscaled_nearest = true;
    // Room to build one draw's vertices in before adding them (a text's strip).
    std::vector<QuadVertex> scratch;
    bool empty() const { return vertices.empty(); }
};

// True when a draw with key can join the batch as it is, with no GL state to set.
bool batch_accepts(const DrawBatch& batch, const DrawBatchKey& key);
// Appends one draw's vertices; the caller has made key's state current when the
// batch did not accept it (after flushing).
void batch_add(OpenGLRainbows& device, const DrawBatchKey& key, const QuadVertex* vertices,
               int32_t count);
// Draws the gathered vertices, if any, and empties the batch.
void flush_draw_batch(OpenGLRainbows& device);
// The same on the process's device, if there is one.
void flush_draw_batch();
// Off, each draw goes to OpenGL as soon as it is made (for comparisons and for
// programs that mix their own OpenGL calls with the runtime's drawing).
void set_draw_batching(bool on);
// A sprite or animation frame drawn at its own size on the 2D projection puts every
// pixel centre on a texel centre, where linear filtering returns the texel itself;
// nearest filtering gives the same pixels and costs a software renderer far less.
// On by default; off, such draws filter as the smoothing flag says (for comparing).
void set_unscaled_nearest(bool on);

}  // namespace tvk
