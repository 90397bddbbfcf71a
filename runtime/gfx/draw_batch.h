#pragma once
// Consecutive sprite, animation-frame and text draws that share their texture and
// drawing state are gathered here and handed to OpenGL in one call. The pixels are
// those of drawing each command on its own: every draw keeps its own primitive (a
// quad, a fan of four corners, a text strip), its vertices and their order.
//
// The rule that keeps them so: the batch is flushed with flush_draw_batch before
// anything changes OpenGL state the gathered draws depend on (capabilities,
// blending, the current colour, matrices, viewport, the bound texture and its
// parameters, the framebuffer, shader programs and uniforms), draws outside the
// batch, or reads pixels back.
// - Device-level functions (taking an OpenGLRainbows&) that do any of this flush at
//   their start, so the runtime's own code may call them at any time; so does every
//   capability switch of the gl_state_cache. The helpers of sprite_drawing.h that
//   callers use right after flushing say so.
// - Every command of the compiled program flushes first, except the ones that add
//   to the batch (sprites, animation frames, text): explicitly, or by handing over
//   at once to a device-level function that does. So a program sees the drawing it
//   asked for whichever command it calls next.
// - The core flushes where it hands the context to others: before the window's
//   messages are handled and before a movie plays.
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
// Off, each draw goes to OpenGL as soon as it is made (for comparisons and for
// programs that mix their own OpenGL calls with the runtime's drawing).
void set_draw_batching(OpenGLRainbows& device, bool on);
// A sprite or animation frame drawn at its own size on the 2D projection puts every
// pixel centre on a texel centre, where linear filtering returns the texel itself;
// nearest filtering gives the same pixels and costs a software renderer far less.
// On by default; off, such draws filter as the smoothing flag says (for comparing).
void set_unscaled_nearest(OpenGLRainbows& device, bool on);

}  // namespace tvk
