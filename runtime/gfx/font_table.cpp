// Font geometry, glyph measuring and font loading.
#include "runtime/gfx/font_table.h"

#include <vector>

#include "runtime/gfx/bmp_decoder.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/png_decoder.h"
#include "runtime/gfx/texture_upload.h"

namespace tvk {

namespace {

constexpr int32_t kGlyphJ = 106;
constexpr int32_t kGlyphSpace = 32;

bool valid_font(int32_t n) { return n >= 0 && n < kFontCount; }

bool column_inked(const ImageBuffer& image, int32_t x, int32_t top, int32_t height) {
    for (int32_t y = top; y < top + height; ++y)
        if (image.pixel(x, y)[3] != 0) return true;
    return false;
}

}  // namespace

FontGeometry font_geometry(int32_t image_width, int32_t image_height) {
    FontGeometry g;
    g.cell_width = image_width / 16;
    if (image_width < image_height) {
        g.glyph_count = 256;
        g.cell_height = image_height / 16;
    } else {
        g.glyph_count = 128;
        g.cell_height = image_height / 8;
    }
    return g;
}

void measure_font_glyphs(const ImageBuffer& image, int32_t texture_width, GlyphTable& glyphs) {
    const FontGeometry g = font_geometry(image.width, image.height);
    const int32_t cw = g.cell_width, ch = g.cell_height;
    const float tw = static_cast<float>(texture_width);
    for (int32_t c = 0; c < g.glyph_count; ++c) {
        const int32_t column = c % 16;
        const int32_t cell_left = cw * column, cell_top = ch * (c / 16);
        int32_t left = 0;
        while (left < cw && !column_inked(image, cell_left + left, cell_top, ch)) ++left;
        FontGlyph& glyph = glyphs[static_cast<size_t>(c)];
        if (left == cw) {
            glyph.left = 0;
            glyph.width = static_cast<uint16_t>(cw);
            glyph.u_left = glyph.u_right = static_cast<float>(cell_left) / tw;
        } else {
            int32_t right = cw - 1;
            while (right > left && !column_inked(image, cell_left + right, cell_top, ch)) --right;
            int32_t width = right - left + 1;
            if (left + width < cw) ++width;   // one column of spacing when the cell has room
            glyph.left = static_cast<uint16_t>(left);
            glyph.width = static_cast<uint16_t>(width);
            glyph.u_left = static_cast<float>(left + cell_left) / tw;
            glyph.u_right = static_cast<float>(left + width + cell_left) / tw;
        }
        if (c == kGlyphJ) {
            // The space is as wide as "j", drawn from the left of its own (empty) cell.
            FontGlyph& space = glyphs[kGlyphSpace];
            space.left = 0;
            space.u_left = 0.0f;
            space.width = glyph.width;
            space.u_right = glyph.u_right - glyph.u_left;
        }
    }
    if (g.glyph_count == 128)
        for (size_t c = 0; c < 128; ++c) glyphs[c + 128] = glyphs[c];
}

bool load_font_image(OpenGLRainbows& device, int32_t n, const std::string& path) {
    if (!valid_font(n)) return false;
    const int32_t slot = kFontSlotBase + n;
    const auto key = static_cast<int32_t>(device.drawing.font_transparency_colour);
    std::vector<uint8_t> bytes;
    ImageBuffer image;
    if (!read_image_file(path, bytes) ||
        !(decode_bmp(image, bytes, key) || decode_png(image, bytes, key, path.c_str()))) {
        delete_sprite(device, slot);
        return false;
    }
    measure_font_glyphs(image, texture_side(image.width), device.fonts.glyphs[static_cast<size_t>(n)]);
    return create_sprite_from_image(device, slot, image, false);
}

}  // namespace tvk
