#pragma once
// Bitmap fonts: 32 fonts, each an image of a 16-column grid of character cells held
// in a font slot of the sprite table (font n is slot kFontSlotBase + n), with a
// table of 256 measured glyphs for proportional text.
#include <array>
#include <cstdint>
#include <string>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

class OpenGLRainbows;

constexpr int32_t kFontCount = 32;
// The error code programs get for a font number outside 0..31 (its text reads
// "out of memory").
constexpr int32_t kErrBadFontNumber = 7;

// Left and width are 16 bits wide so that cells wider than 255 pixels measure right.
struct FontGlyph {
    uint16_t left = 0;    // first inked column inside the cell
    uint16_t width = 0;   // advance and drawn width for proportional text
    float u_left = 0;     // texture coordinate of the glyph's left edge
    float u_right = 0;    // texture coordinate of the glyph's right edge
};

using GlyphTable = std::array<FontGlyph, 256>;

// The cell grid of a font image w by h: 16 columns; 256 glyphs in 16 rows when the
// image is taller than wide, else 128 glyphs in 8 rows.
struct FontGeometry {
    int32_t cell_width = 0;
    int32_t cell_height = 0;
    int32_t glyph_count = 128;
};
FontGeometry font_geometry(int32_t image_width, int32_t image_height);

// Measures every glyph of a font image whose texture is texture_width texels wide:
// the inked columns (alpha not 0) give each glyph's left edge and width, with one
// column of spacing when the cell has room; the space becomes as wide as "j"; a
// 128-glyph font's records are copied to codes 128..255.
void measure_font_glyphs(const ImageBuffer& image, int32_t texture_width, GlyphTable& glyphs);

// The fonts' glyph tables beside their slots in the sprite table, and the current
// font. (print_text builds its vertices in the draw batch's scratch array.)
struct FontState {
    std::array<GlyphTable, kFontCount> glyphs{};
    int32_t current = 0;
};

// Decodes the file as BMP, else PNG, keyed with the device's font transparency
// colour, measures it and makes it font n's slot. Deletes the slot and fails when
// neither decoder takes the file or n is outside 0..31.
bool load_font_image(OpenGLRainbows& device, int32_t n, const std::string& path);

}  // namespace tvk
