// The font and text commands of the compiled program: choosing and loading fonts,
// printing text (one triangle strip per text, gathered with the texts and sprites
// around it into the draw batch) and measuring it.
#include "runtime/gfx/text_commands.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/files/media_archive.h"
#include "runtime/gfx/builtin_font.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/value/error_state.h"

namespace tvk {

namespace {

bool valid_font(int32_t n) { return n >= 0 && n < kFontCount; }

}  // namespace

void set_font(int32_t n) {
    if (!valid_font(n)) {
        set_error(kErrBadFontNumber);
        return;
    }
    if (OpenGLRainbows* device = graphics_device()) {
        flush_draw_batch(*device);
        device->fonts.current = n;
    }
}

void load_font(const RtString& file_name, int32_t n) {
    clear_error();
    if (!valid_font(n)) {
        set_error(kErrBadFontNumber);
        return;
    }
    OpenGLRainbows* device = graphics_device();
    if (!device) {
        set_error(kErrNoSuchFile);
        return;
    }
    flush_draw_batch(*device);
    if (file_name.empty()) {
        delete_sprite(*device, kFontSlotBase + n);
        return;
    }
    device->fonts.current = n;
    std::string path;
    if (!resolve_media_path(media_archives().memory_files, file_name.c_str(), path, true) ||
        !load_font_image(*device, n, path)) {
        set_error(kErrNoSuchFile);
        install_builtin_font(*device, n);
    }
}

void get_font_size(int32_t& cell_width, int32_t& cell_height) {
    cell_width = cell_height = 0;
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    const SpriteSlot& s = *sprite_slot(*device, kFontSlotBase + device->fonts.current);
    const FontGeometry g = font_geometry(s.width, s.height);
    cell_width = g.cell_width;
    cell_height = g.cell_height;
}

void get_font_size(double& cell_width, double& cell_height) {
    int32_t w = 0, h = 0;
    get_font_size(w, h);
    cell_width = w;
    cell_height = h;
}

int32_t free_font_index() {
    OpenGLRainbows* device = graphics_device();
    if (!device) return -1;
    flush_draw_batch(*device);
    for (int32_t n = kFontCount - 1; n >= 0; --n)
        if (sprite_slot(*device, kFontSlotBase + n)->width / 16 == 0) return n;
    return -1;
}

namespace {

// The byte's glyph: the byte read as signed, widened to an unsigned 32-bit value,
// modulo the glyph count. So with 128 glyphs byte 200 gives glyph 72 and byte 128
// gives glyph 0, which ends the text.
uint32_t glyph_of(char byte, uint32_t glyph_count) {
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(byte))) % glyph_count;
}

}  // namespace

void print_text(const RtString& text, double x, double y, int32_t proportional) {
    OpenGLRainbows* device = graphics_device();
    if (!device || text.empty()) return;
    const FontState& fonts = device->fonts;
    const int32_t slot = kFontSlotBase + fonts.current;
    const SpriteSlot& s = *sprite_slot(*device, slot);
    const FontGeometry g = font_geometry(s.width, s.height);
    const GlyphTable& glyphs = fonts.glyphs[static_cast<size_t>(fonts.current)];
    const size_t length = std::strlen(text.c_str());
    std::vector<QuadVertex>& strip = device->draw_batch.scratch;
    strip.resize(length * 4);

    const float m = s.v_extent / static_cast<float>(g.glyph_count / 16);
    const uint32_t last_row = static_cast<uint32_t>(g.glyph_count / 16 - 1);
    const float cell_u = s.u_extent / 16.0f;
    const float top = static_cast<float>(std::ceil(y));
    const float bottom = top + static_cast<float>(g.cell_height);
    float pen = static_cast<float>(std::ceil(x));
    QuadVertex* v = strip.data();
    int32_t vertex_count = 0;
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
        *v++ = {pen, bottom, u_left, v_bottom};
        *v++ = {pen, top, u_left, v_top};
        *v++ = {right, bottom, u_right, v_bottom};
        *v++ = {right, top, u_right, v_top};
        vertex_count += 4;
        pen = right;
    }
    if (vertex_count == 0) return;
    // The font keeps the nearest-texel filtering it was made with. One strip per
    // text: neighbouring glyphs share their edge, so the joining triangles have no
    // area.
    batch_textured(*device, slot, BatchPrimitive::strips, strip.data(), vertex_count);
}

int32_t text_width(const RtString& text, int32_t proportional) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return 0;
    flush_draw_batch(*device);
    const FontState& fonts = device->fonts;
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
