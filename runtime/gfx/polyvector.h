#pragma once
// The polyvector batch: textured and coloured triangles collected vertex by vertex
// and drawn with one call. The batch is reused from frame to frame.
#include <cstdint>
#include <vector>

namespace tvk {

class OpenGLRainbows;

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

// Starts a batch of mode (0 triangle fan, 1 triangles, 2 triangle strip) textured
// with slot, or untextured for a slot outside the table.
void start_polyvector(OpenGLRainbows& device, int32_t slot, int32_t mode);
// (tx, ty) count pixels from the image's top-left; colour is a packed colour, the
// transparency colour giving alpha 0.
void add_polyvector_vertex(OpenGLRainbows& device, double x, double y, double tx, double ty,
                           int32_t colour);
// The next vertex starts a new strip, joined to the last by degenerate triangles.
void new_polyvector_segment(OpenGLRainbows& device);
// Draws the batch.
void end_polyvector(OpenGLRainbows& device);

}  // namespace tvk
