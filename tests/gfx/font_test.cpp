// Bitmap fonts on a headless context: the built-in font's pixels, glyph measuring
// seen through printed pixels and text widths, font geometries and font numbers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gl_fixture.h"
#include "runtime/gfx/builtin_font.h"
#include "runtime/gfx/font_table.h"
#include "runtime/gfx/image_writer.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/value/error_state.h"

namespace tvk {
namespace {

using testing_support::GlDeviceTest;
using testing_support::Rgba;

// One glyph of a test font: inked columns [first, last] over the whole cell height.
struct InkedGlyph {
    int32_t code;
    int32_t first, last;
    Rgba colour;
};

// A w by h font image, transparent except for the listed glyphs.
ImageBuffer font_image(int32_t w, int32_t h, const std::vector<InkedGlyph>& glyphs) {
    ImageBuffer image = testing_support::make_image(w, h, [](int32_t, int32_t) { return testing_support::kClear; });
    const FontGeometry g = font_geometry(w, h);
    for (const InkedGlyph& glyph : glyphs) {
        const int32_t left = (glyph.code % 16) * g.cell_width, top = (glyph.code / 16) * g.cell_height;
        for (int32_t y = top; y < top + g.cell_height; ++y)
            for (int32_t x = left + glyph.first; x <= left + glyph.last; ++x)
                std::memcpy(image.pixel(x, y), glyph.colour.data(), 4);
    }
    return image;
}

constexpr Rgba kInk{200, 100, 50, 255};
constexpr Rgba kMarked{10, 220, 30, 255};

class FontTest : public GlDeviceTest {
protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        install_builtin_font(*device_, 0);
        set_font(0);
        clear();
    }
    // Writes the image as a PNG in the test folder and loads it as font n.
    void load_test_font(const ImageBuffer& image, int32_t n, const char* name = "font.png") {
        const std::string path = temp_.file(name);
        ASSERT_TRUE(write_image_file(path, image));
        load_font(path.c_str(), n);
        ASSERT_EQ(error_state().code, 0);
    }
    bool inked(int32_t x, int32_t y) { return pixel(x, y)[3] != 0; }
};

TEST_F(FontTest, BuiltInLetterAHasItsShapeAndDarkOutline) {
    print_text("A", 10, 20, 1);
    // '#' white shape, 'o' the (8, 8, 8) outline, '.' untouched.
    const char* rows[8] = {"..ooo...", ".o###o..", ".o#o#o..", ".o###o..",
                           ".o#o#o..", ".o#o#o..", "..o.o...", "........"};
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const Rgba expected = rows[y][x] == '#'   ? Rgba{255, 255, 255, 255}
                                  : rows[y][x] == 'o' ? Rgba{8, 8, 8, 255}
                                                      : Rgba{0, 0, 0, 0};
            EXPECT_EQ(pixel(10 + x, 20 + y), expected) << "cell pixel " << x << "," << y;
        }
    }
}

TEST_F(FontTest, BuiltInFontIsEightPixelCellsInBothModes) {
    int32_t w = 0, h = 0;
    get_font_size(w, h);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 8);
    // A 128-pixel-wide font gives 8-pixel cells: three of them are 24 wide.
    EXPECT_EQ(text_width("abc", 0), 24);
    EXPECT_EQ(text_width("abc", 1), 24);
    // The second letter starts one cell on: 'A' at x 8..15 has its top bar at 10..12.
    print_text("AA", 0.2, 0.2, 0);   // coordinates round up to (1, 1)
    EXPECT_EQ(pixel(1 + 8 + 2, 1 + 1), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(pixel(1 + 8 + 1, 1 + 1), (Rgba{8, 8, 8, 255}));
}

TEST_F(FontTest, ProportionalAdvancesFollowTheInkedColumns) {
    // 256 by 128: 128 glyphs in cells of 16 by 16.
    load_test_font(font_image(256, 128,
                              {{'A', 2, 9, kInk},       // room to spare: width 8 + 1
                               {'B', 3, 15, kInk},      // reaches the edge: width 13
                               {'C', 5, 14, kInk},      // one column short: width 10 + 1
                               {'j', 0, 4, kInk}}),     // width 5 + 1
                   1);
    EXPECT_EQ(text_width("A", 1), 9);
    EXPECT_EQ(text_width("B", 1), 13);
    EXPECT_EQ(text_width("C", 1), 11);
    EXPECT_EQ(text_width("j", 1), 6);
    EXPECT_EQ(text_width(" ", 1), 6);
    EXPECT_EQ(text_width("ABC j", 1), 9 + 13 + 11 + 6 + 6);
    EXPECT_EQ(text_width("ABC", 0), 48);

    print_text("AB C", 0, 0, 1);
    // A's ink at 0..7 and its spacing column at 8; B from 9 to 21 with no spacing;
    // the space as wide as "j" (22..27); C's ink from 28 to 37.
    EXPECT_TRUE(inked(0, 5));
    EXPECT_TRUE(inked(7, 5));
    EXPECT_FALSE(inked(8, 5));
    EXPECT_TRUE(inked(9, 5));
    EXPECT_TRUE(inked(21, 15));
    EXPECT_FALSE(inked(22, 5));
    EXPECT_FALSE(inked(27, 5));
    EXPECT_TRUE(inked(28, 5));
    EXPECT_TRUE(inked(37, 5));
    EXPECT_FALSE(inked(38, 5));
    EXPECT_FALSE(inked(5, 16));   // a cell is 16 high

    clear();
    print_text("AB", 0, 0, 0);   // fixed: whole cells, B's cell from 16
    EXPECT_FALSE(inked(1, 5));
    EXPECT_TRUE(inked(2, 5));
    EXPECT_FALSE(inked(16 + 2, 5));
    EXPECT_TRUE(inked(16 + 3, 5));
}

TEST_F(FontTest, HighBytesOfA128GlyphFontWrapAndByte128EndsTheText) {
    load_test_font(font_image(256, 128, {{72, 0, 15, kMarked}, {'A', 0, 15, kInk}}), 2);
    print_text("\xC8", 0, 0, 1);   // byte 200 prints glyph 72
    EXPECT_EQ(pixel(8, 8), kMarked);
    clear();
    print_text("\x80" "A", 0, 0, 1);
    EXPECT_FALSE(inked(8, 8));
    // The width counts the byte's own record, which a 128-glyph font copies from 72.
    EXPECT_EQ(text_width("\xC8", 1), 16);
}

TEST_F(FontTest, FontImageGeometries) {
    struct Case {
        int32_t w, h, cell_w, cell_h;
        uint8_t byte;       // a byte whose glyph is marked
        int32_t marked;     // the glyph it prints
    };
    const Case cases[] = {{256, 512, 16, 32, 200, 200},
                          {256, 256, 16, 32, 200, 72},
                          {256, 128, 16, 16, 200, 72}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " by " + std::to_string(c.h));
        load_test_font(font_image(c.w, c.h, {{c.marked, 0, 15, kMarked}}), 4);
        int32_t w = 0, h = 0;
        get_font_size(w, h);
        EXPECT_EQ(w, c.cell_w);
        EXPECT_EQ(h, c.cell_h);
        clear();
        const char text[2] = {static_cast<char>(c.byte), 0};
        print_text(text, 0, 0, 0);
        EXPECT_EQ(pixel(0, 0), kMarked);
        EXPECT_EQ(pixel(15, c.cell_h - 1), kMarked);
        EXPECT_FALSE(inked(16, 0));
        EXPECT_FALSE(inked(0, c.cell_h));
    }
}

TEST_F(FontTest, BlackIsKeyedOutOfBmpFonts) {
    // A BMP has no alpha: the font transparency colour (black) makes the cell's
    // background transparent, so the glyph measures by its coloured columns.
    ImageBuffer image = font_image(256, 128, {{'A', 4, 6, kInk}});
    for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;   // opaque black
    load_test_font(image, 5, "font.bmp");
    EXPECT_EQ(text_width("A", 1), 4);
    print_text("A", 0, 0, 1);
    EXPECT_EQ(pixel(0, 3), kInk);
    EXPECT_FALSE(inked(3, 3));
}

TEST_F(FontTest, FontNumbersAndFailedLoads) {
    EXPECT_EQ(free_font_index(), 31);
    install_builtin_font(*device_, 31);
    EXPECT_EQ(free_font_index(), 30);
    for (int32_t n = 1; n < kFontCount; ++n) install_builtin_font(*device_, n);
    EXPECT_EQ(free_font_index(), -1);

    set_font(3);
    set_font(32);
    EXPECT_EQ(error_state().code, kErrBadFontNumber);
    set_font(-1);
    EXPECT_EQ(error_state().code, kErrBadFontNumber);
    load_font("font.png", 32);
    EXPECT_EQ(error_state().code, kErrBadFontNumber);
    EXPECT_EQ(text_width("abc", 0), 24);   // still font 3

    // An empty name deletes the slot and nothing else.
    load_font("", 6);
    EXPECT_EQ(error_state().code, 0);
    int32_t w = 0, h = 0;
    get_sprite_size(kFontSlotBase + 6, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(free_font_index(), 6);

    // A missing file leaves the built-in font there, and the font current.
    load_font(temp_.file("missing.png").c_str(), 6);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    get_font_size(w, h);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 8);
    // A file that is no image does too.
    const std::string junk = temp_.write("junk.png", "not an image");
    load_font(junk.c_str(), 7);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    get_sprite_size(kFontSlotBase + 7, w, h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 64);
}

}  // namespace
}  // namespace tvk
