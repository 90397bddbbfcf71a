// Bitmap-font files: decoded as BMP, else PNG, keyed with the default transparency
// colour, and measured into a glyph table, as loading a font does. Inputs starting
// with "RAW" give the image directly (width and height, then RGBA bytes), so the
// measuring also meets sizes and ink patterns no encoder would write.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "fuzz/fuzz_support.h"
#include "runtime/gfx/bmp_decoder.h"
#include "runtime/gfx/font_table.h"
#include "runtime/gfx/png_decoder.h"
#include "runtime/gfx/texture_upload.h"

namespace {

bool raw_image(const uint8_t* data, size_t size, tvk::ImageBuffer& image) {
    tvk::fuzz::ByteReader in{data + 3, size - 3};
    const int32_t w = in.u16() % 1024, h = in.u16() % 1024;
    if (static_cast<int64_t>(w) * h > 256 * 1024) return false;
    if (!tvk::allocate_image(image, w, h)) return false;
    const std::vector<uint8_t> pixels = in.rest();
    const size_t n = std::min(pixels.size(), static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    if (n > 0) std::memcpy(image.pixels.data(), pixels.data(), n);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    tvk::ImageBuffer image;
    const bool decoded = (size >= 3 && std::memcmp(data, "RAW", 3) == 0)
                             ? raw_image(data, size, image)
                             : tvk::decode_bmp(image, file, 0xFF0080) ||
                                   tvk::decode_png(image, file, 0xFF0080, "fuzz-font.png");
    if (!decoded) return 0;
    tvk::GlyphTable glyphs{};
    tvk::measure_font_glyphs(image, tvk::texture_side(image.width), glyphs);
    const tvk::FontGeometry g = tvk::font_geometry(image.width, image.height);
    for (const tvk::FontGlyph& glyph : glyphs) {
        // A glyph never reaches outside its cell.
        if (glyph.left + glyph.width > g.cell_width) std::abort();
    }
    return 0;
}
