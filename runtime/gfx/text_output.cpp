// Printing text with the current font: one vertex array and one draw call per text.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "runtime/gfx/font_table.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/sprite_store.h"

namespace tvk {

namespace {

constexpr size_t kFloatsPerVertex = 5;   // x, y, z, u, v
constexpr size_t kMinVertices = 512;
constexpr size_t kVertexStep = 128;

// The byte's glyph: the byte read as signed, widened to an unsigned 32-bit value,
// modulo the glyph count. So with 128 glyphs byte 200 gives glyph 72 and byte 128
// gives glyph 0, which ends the text.
uint32_t glyph_of(char byte, uint32_t glyph_count) {
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(byte))) % glyph_count;
}

void reserve_vertices(std::vector<float>& vertices, size_t count) {
    if (vertices.size() >= count * kFloatsPerVertex) return;
    const size_t grown = std::max(kMinVertices, (count + kVertexStep - 1) / kVertexStep * kVertexStep);
    vertices.resize(grown * kFloatsPerVertex);
}

}  // namespace

void print_text(const RtString& text, double x, double y, int32_t proportional) {
    OpenGLRainbows* device = graphics_device();
    if (!device || text.empty()) return;
    FontState& fonts = font_state();
    const int32_t slot = kFontSlotBase + fonts.current;
    const SpriteSlot& s = *sprite_slot(*device, slot);
    const FontGeometry g = font_geometry(s.width, s.height);
    const GlyphTable& glyphs = fonts.glyphs[static_cast<size_t>(fonts.current)];
    const size_t length = std::strlen(text.c_str());
    reserve_vertices(fonts.text_vertices, length * 4);

    // The font keeps the nearest-texel filtering it was made with.
    bind_sprite(*device, slot, -1, 0);

    const float m = s.v_extent / static_cast<float>(g.glyph_count / 16);
    const uint32_t last_row = static_cast<uint32_t>(g.glyph_count / 16 - 1);
    const float cell_u = s.u_extent / 16.0f;
    const float top = static_cast<float>(std::ceil(y));
    const float bottom = top + static_cast<float>(g.cell_height);
    float pen = static_cast<float>(std::ceil(x));
    float* v = fonts.text_vertices.data();
    GLsizei vertex_count = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint32_t glyph = glyph_of(text.c_str()[i], static_cast<uint32_t>(g.glyph_count));
        if (glyph == 0) break;
        float advance, u_left, u_right;
        if (proportional) {
            const FontGlyph& record = glyphs[glyph];
            advance = record.width;
            u_left = record.u_left;
            u_right = record.u_right;
        } else {
            advance = static_cast<float>(g.cell_width);
            u_left = static_cast<float>(glyph % 16) * cell_u;
            u_right = u_left + cell_u;
        }
        const float v_bottom = m * static_cast<float>(last_row - glyph / 16);
        const float v_top = v_bottom + m;
        const float right = pen + advance;
        const float corners[4][kFloatsPerVertex] = {{pen, bottom, 0.0f, u_left, v_bottom},
                                                    {pen, top, 0.0f, u_left, v_top},
                                                    {right, bottom, 0.0f, u_right, v_bottom},
                                                    {right, top, 0.0f, u_right, v_top}};
        std::memcpy(v, corners, sizeof corners);
        v += 4 * kFloatsPerVertex;
        vertex_count += 4;
        pen = right;
    }
    if (vertex_count == 0) return;

    constexpr GLsizei kStride = kFloatsPerVertex * sizeof(float);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, kStride, fonts.text_vertices.data());
    glTexCoordPointer(2, GL_FLOAT, kStride, fonts.text_vertices.data() + 3);
    // Neighbouring glyphs share their edge, so the joining triangles have no area.
    glDrawArrays(GL_TRIANGLE_STRIP, 0, vertex_count);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

int32_t text_width(const RtString& text, int32_t proportional) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return 0;
    const FontState& fonts = font_state();
    const size_t length = std::strlen(text.c_str());
    if (!proportional) {
        const SpriteSlot& s = *sprite_slot(*device, kFontSlotBase + fonts.current);
        return static_cast<int32_t>(length) * (s.width / 16);
    }
    const GlyphTable& glyphs = fonts.glyphs[static_cast<size_t>(fonts.current)];
    int32_t width = 0;
    for (size_t i = 0; i < length; ++i) width += glyphs[static_cast<uint8_t>(text.c_str()[i])].width;
    return width;
}

}  // namespace tvk
