// The built-in 8 by 8 font, installed as font 0 at start-up so that text works
// before (or without) a font file.
#include "runtime/gfx/builtin_font.h"

#include <cstring>

#include "runtime/gfx/opengl_rainbows.h"

namespace tvk {

namespace {

constexpr int32_t kCell = 8;
constexpr int32_t kImageWidth = 128;
constexpr int32_t kImageHeight = 64;
constexpr int32_t kFirstShape = 32;

// Codes 32..127: bit gy * 5 + gx set draws pixel (gx, gy) of a 5 by 6 shape.
constexpr uint32_t kGlyphWords[96] = {
    0x00000000, 0x08021080, 0x00002940, 0x15F57D40, 0x08E619C4, 0x14222140, 0x0ED114E0, 0x00001080,
    0x08210880, 0x04421040, 0x09575480, 0x08471080, 0x04400000, 0x00070000, 0x08000000, 0x04222100,
    0x00E5294E, 0x004210C4, 0x00E1390E, 0x00E4390E, 0x0084394A, 0x00E4384E, 0x00E5384E, 0x0042210E,
    0x00E5394E, 0x00E4394E, 0x00020080, 0x00220080, 0x00820888, 0x000701C0, 0x00222082, 0x0040310E,
    0x00E0B526, 0x00A5394E, 0x00E5194E, 0x00E5094E, 0x00E52946, 0x00E1384E, 0x0021384E, 0x00E5284E,
    0x00A5394A, 0x00E2108E, 0x00E5210C, 0x00A5194A, 0x00E10842, 0x015AD6BF, 0x00A5294E, 0x00E5294E,
    0x0021394E, 0x00F294A7, 0x00A5194E, 0x00E4384E, 0x0042108E, 0x00E5294A, 0x0045294A, 0x01FAD6B5,
    0x00A5114A, 0x0042394A, 0x00E1110E, 0x00610846, 0x01041041, 0x00621086, 0x00000144, 0x00E00000,
    0x00000082, 0x00E53000, 0x00E53842, 0x00E13800, 0x00E53908, 0x08273800, 0x00423888, 0x08873800,
    0x00A51842, 0x00421004, 0x04421004, 0x00A32842, 0x00421084, 0x015ABC00, 0x00A51800, 0x00E53800,
    0x04E51800, 0x10E53000, 0x00253800, 0x00E409C0, 0x00C23884, 0x00C52800, 0x00452800, 0x00EAD400,
    0x00A22800, 0x1C872800, 0x00E121C0, 0x00821888, 0x00421084, 0x00223082, 0x0002A800, 0x3F18C63F,
};

// Whether cell pixel (x, y) belongs to the glyph word's shape (drawn one pixel in
// from the cell's top-left).
bool shape_pixel(uint32_t word, int32_t x, int32_t y) {
    const int32_t gx = x - 1, gy = y - 1;
    if (gx < 0 || gx > 4 || gy < 0 || gy > 5) return false;
    return (word >> (gy * 5 + gx)) & 1u;
}

void put(ImageBuffer& image, int32_t x, int32_t y, uint8_t grey) {
    uint8_t* p = image.pixel(x, y);
    p[0] = p[1] = p[2] = grey;
    p[3] = 255;
}

}  // namespace

void build_builtin_font_image(ImageBuffer& image) {
    allocate_image(image, kImageWidth, kImageHeight);
    std::memset(image.pixels.data(), 0, static_cast<size_t>(kImageWidth) * kImageHeight * 4);
    image.has_alpha = 1;
    for (int32_t code = kFirstShape; code < 128; ++code) {
        const uint32_t word = kGlyphWords[code - kFirstShape];
        const int32_t left = (code % 16) * kCell, top = (code / 16) * kCell;
        // Shape pixels white; every free pixel beside one of them (left, right,
        // above, below) dark, so the text reads on light and dark backgrounds.
        for (int32_t y = 0; y < kCell; ++y) {
            for (int32_t x = 0; x < kCell - 1; ++x) {
                if (shape_pixel(word, x, y)) {
                    put(image, left + x, top + y, 255);
                } else if (shape_pixel(word, x - 1, y) || shape_pixel(word, x + 1, y) ||
                           shape_pixel(word, x, y - 1) || shape_pixel(word, x, y + 1)) {
                    put(image, left + x, top + y, 8);
                }
            }
        }
    }
}

void install_builtin_font(OpenGLRainbows& device, int32_t n) {
    if (n < 0 || n >= kFontCount) return;
    ImageBuffer image;
    build_builtin_font_image(image);
    create_sprite_from_image(device, kFontSlotBase + n, image, false);
    GlyphTable& glyphs = device.fonts.glyphs[static_cast<size_t>(n)];
    constexpr float kGlyphU = static_cast<float>(kCell) / kImageWidth;
    for (size_t c = 0; c < glyphs.size(); ++c) {
        glyphs[c].left = 0;
        glyphs[c].width = kCell;
        glyphs[c].u_left = static_cast<float>(c % 16) * kGlyphU;
        glyphs[c].u_right = glyphs[c].u_left + kGlyphU;
    }
}

}  // namespace tvk
