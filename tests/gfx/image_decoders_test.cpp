#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "gfx/image_fixtures.h"
#include "runtime/gfx/bmp_decoder.h"
#include "runtime/gfx/colour_key.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/jpeg_decoder.h"
#include "runtime/gfx/png_decoder.h"
#include "support/temp_dir.h"

namespace tvk {
namespace {

using testing_support::BmpSpec;
using testing_support::Bytes;
using testing_support::make_bmp;
using testing_support::make_jpeg;
using testing_support::make_png;
using testing_support::PngSpec;
using testing_support::Rgb;

constexpr int32_t kDefaultKey = 0x8000FF;

const std::array<Rgb, 8> kCorners = {{{0, 0, 0},
                                      {255, 255, 255},
                                      {255, 0, 0},
                                      {0, 255, 0},
                                      {0, 0, 255},
                                      {255, 255, 0},
                                      {0, 255, 255},
                                      {255, 0, 255}}};

std::array<uint8_t, 4> at(const ImageBuffer& image, int x, int y) {
    const uint8_t* p = image.pixel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

// A 5 by 3 picture in the colours a depth can hold, written at that depth.
BmpSpec picture(int bits, bool top_down = false, bool core = false) {
    BmpSpec s;
    s.bits = bits;
    s.width = 5;
    s.height = 3;
    s.top_down = top_down;
    s.core_header = core;
    const int colours = bits == 1 ? 2 : 8;
    if (bits <= 8) s.palette.assign(kCorners.begin(), kCorners.begin() + colours);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const int i = (x + 2 * y) % colours;
            const Rgb c = kCorners[i];
            if (bits <= 8) s.values.push_back(i);
            else if (bits == 16) s.values.push_back(((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3));
            else s.values.push_back(c.r | (c.g << 8) | (c.b << 16));
        }
    }
    return s;
}

void expect_picture(const ImageBuffer& image, int bits) {
    ASSERT_EQ(image.width, 5);
    ASSERT_EQ(image.height, 3);
    const int colours = bits == 1 ? 2 : 8;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const Rgb c = kCorners[(x + 2 * y) % colours];
            EXPECT_EQ(at(image, x, y), (std::array<uint8_t, 4>{c.r, c.g, c.b, 255}))
                << bits << " bits at " << x << "," << y;
        }
}

TEST(BmpDecoder, EveryDepthAndHeaderDecodesTheSamePicture) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        for (bool core : {false, true}) {
            for (bool top_down : {false, true}) {
                SCOPED_TRACE(testing::Message() << bits << " bits, core " << core << ", top-down " << top_down);
                ImageBuffer image;
                ASSERT_TRUE(decode_bmp(image, make_bmp(picture(bits, top_down, core)), kNoColourKey));
                expect_picture(image, bits);
                EXPECT_EQ(image.has_alpha, 0);
            }
        }
    }
}

TEST(BmpDecoder, SixteenBitFieldsScaleToFullBytes) {
    BmpSpec s;
    s.bits = 16;
    s.width = 3;
    s.height = 1;
    s.values = {0x7FFF, 0x7C00 | (16 << 5), 0x0001};
    ImageBuffer image;
    ASSERT_TRUE(decode_bmp(image, make_bmp(s), kNoColourKey));
    EXPECT_EQ(at(image, 0, 0), (std::array<uint8_t, 4>{255, 255, 255, 255}));
    EXPECT_EQ(at(image, 1, 0), (std::array<uint8_t, 4>{255, 16 * 255 / 31, 0, 255}));
    EXPECT_EQ(at(image, 2, 0), (std::array<uint8_t, 4>{0, 0, 8, 255}));
}

TEST(BmpDecoder, ColourKeyMakesMatchingPixelsTransparentBlack) {
    BmpSpec s;
    s.bits = 24;
    s.width = 2;
    s.height = 1;
    s.values = {0x8000FF, 0x8000FE};
    ImageBuffer image;
    ASSERT_TRUE(decode_bmp(image, make_bmp(s), kDefaultKey));
    EXPECT_EQ(at(image, 0, 0), (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(at(image, 1, 0), (std::array<uint8_t, 4>{254, 0, 128, 255}));
    ASSERT_TRUE(decode_bmp(image, make_bmp(s), kNoColourKey));
    EXPECT_EQ(at(image, 0, 0), (std::array<uint8_t, 4>{255, 0, 128, 255}));
}

Bytes with_u32(Bytes b, size_t at, uint32_t v) {
    std::memcpy(&b[at], &v, 4);
    return b;
}

TEST(BmpDecoder, HostileFilesFailTheLoad) {
    const Bytes good = make_bmp(picture(8));
    const Bytes good24 = make_bmp(picture(24));
    Bytes bad_index = good;
    bad_index[good.size() - 4] = 200;  // the palette holds 8 entries
    Bytes rle = with_u32(good, 30, 1);
    Bytes bad_signature = good;
    bad_signature[1] = 'N';
    Bytes depth2 = good;
    depth2[28] = 2;
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"signature", bad_signature},
        {"header size 20", with_u32(good, 14, 20)},
        {"header larger than the offset", with_u32(good, 14, 2000)},
        {"data offset beyond the file", with_u32(good, 10, 100000)},
        {"data offset inside the file header", with_u32(good, 10, 4)},
        {"width 0", with_u32(good, 18, 0)},
        {"negative width", with_u32(good, 18, 0xFFFFFFFB)},
        {"huge width", with_u32(good24, 18, 0x7FFFFFFF)},
        {"huge height", with_u32(good24, 22, 0x40000000)},
        {"most negative height", with_u32(good24, 22, 0x80000000)},
        {"wide and tall beyond the memory limit", with_u32(with_u32(good24, 18, 30000), 22, 30000)},
        {"2 bits", depth2},
        {"palette index out of range", bad_index},
        {"8 bits without a palette", with_u32(with_u32(good24, 28, 8), 10, 54)},
        {"run-length compression", rle},
        {"pixel data cut short", Bytes(good.begin(), good.end() - 1)},
        {"only the file header", Bytes(good.begin(), good.begin() + 14)},
        {"empty", Bytes{}},
    };
    for (const auto& c : cases) {
        ImageBuffer image;
        EXPECT_FALSE(decode_bmp(image, c.file, kNoColourKey)) << c.what;
    }
    // Every shorter prefix of a good file fails.
    for (size_t n = 0; n < good24.size(); ++n) {
        ImageBuffer image;
        ASSERT_FALSE(decode_bmp(image, Bytes(good24.begin(), good24.begin() + n), kNoColourKey)) << n;
    }
}

TEST(ImageBuffer, ReusesALargeEnoughBlockAndRefusesHugeSizes) {
    ImageBuffer image;
    ASSERT_TRUE(allocate_image(image, 4, 4));
    EXPECT_EQ(image.has_alpha, 1);
    EXPECT_EQ(image.capacity(), 64);
    const uint8_t* block = image.pixels.data();
    image.has_alpha = 0;
    ASSERT_TRUE(allocate_image(image, 2, 3));
    EXPECT_EQ(image.pixels.data(), block);
    EXPECT_EQ(image.has_alpha, 0);
    EXPECT_EQ(image.width, 2);
    EXPECT_FALSE(allocate_image(image, 0, 3));
    EXPECT_FALSE(allocate_image(image, kMaxImageSide + 1, 1));
    EXPECT_FALSE(allocate_image(image, 30000, 30000));
    EXPECT_EQ(image.width, 2);
}

TEST(ColourKey, TransparentPixelsTakeTheirOpaqueNeighboursAverage) {
    ImageBuffer image;
    ASSERT_TRUE(allocate_image(image, 4, 3));
    // Row 0: red, clear, blue, clear. Rows 1 and 2 clear.
    const uint8_t red[4] = {200, 0, 0, 255}, blue[4] = {0, 0, 100, 255};
    std::memcpy(image.pixel(0, 0), red, 4);
    std::memcpy(image.pixel(2, 0), blue, 4);
    image.pixel(3, 2)[0] = 77;  // a transparent pixel with no opaque neighbour
    recolour_transparent_edges(image);
    EXPECT_EQ(at(image, 1, 0), (std::array<uint8_t, 4>{100, 0, 50, 0}));
    EXPECT_EQ(at(image, 0, 1), (std::array<uint8_t, 4>{200, 0, 0, 0}));
    EXPECT_EQ(at(image, 3, 0), (std::array<uint8_t, 4>{0, 0, 100, 0}));
    EXPECT_EQ(at(image, 3, 2), (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(at(image, 0, 0), (std::array<uint8_t, 4>{200, 0, 0, 255}));
}

TEST(PngDecoder, GreyPaletteTransparencyAndAlpha) {
    PngSpec grey;
    grey.width = 2;
    grey.height = 1;
    grey.colour_type = PNG_COLOR_TYPE_GRAY;
    grey.samples = {10, 250};

    PngSpec grey2bit = grey;  // values 0 and 3 in the top bits of one byte
    grey2bit.bit_depth = 2;
    grey2bit.samples = {0x30};

    PngSpec palette;
    palette.width = 3;
    palette.height = 1;
    palette.colour_type = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{1, 2, 3}, {4, 5, 6}};
    palette.samples = {1, 0, 1};
    PngSpec palette_trns = palette;
    palette_trns.trns_alpha = {0, 128};

    PngSpec rgb;
    rgb.width = 2;
    rgb.height = 1;
    rgb.samples = {255, 0, 128, 9, 8, 7};
    PngSpec rgb_trns = rgb;
    rgb_trns.trns_colour = true;
    rgb_trns.trns_value.red = 9;
    rgb_trns.trns_value.green = 8;
    rgb_trns.trns_value.blue = 7;

    PngSpec rgba;
    rgba.width = 1;
    rgba.height = 2;
    rgba.colour_type = PNG_COLOR_TYPE_RGB_ALPHA;
    rgba.samples = {1, 2, 3, 4, 5, 6, 7, 8};

    PngSpec rgb16;
    rgb16.width = 1;
    rgb16.height = 1;
    rgb16.bit_depth = 16;
    rgb16.samples = {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF};

    using Px = std::array<uint8_t, 4>;
    const struct {
        const char* what;
        PngSpec spec;
        std::vector<Px> expected;
    } cases[] = {
        {"grey", grey, {{10, 10, 10, 255}, {250, 250, 250, 255}}},
        {"grey 2-bit", grey2bit, {{0, 0, 0, 255}, {255, 255, 255, 255}}},
        {"palette", palette, {{4, 5, 6, 255}, {1, 2, 3, 255}, {4, 5, 6, 255}}},
        {"palette with transparency", palette_trns, {{4, 5, 6, 128}, {1, 2, 3, 0}, {4, 5, 6, 128}}},
        {"RGB keyed", rgb, {{0, 0, 0, 0}, {9, 8, 7, 255}}},
        {"RGB with transparency colour", rgb_trns, {{255, 0, 128, 255}, {9, 8, 7, 0}}},
        {"RGBA", rgba, {{1, 2, 3, 4}, {5, 6, 7, 8}}},
        {"16-bit", rgb16, {{0x12, 0xAB, 0xFF, 255}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ImageBuffer image;
        ASSERT_TRUE(decode_png(image, make_png(c.spec), kDefaultKey));
        EXPECT_EQ(image.has_alpha, 1);
        ASSERT_EQ(static_cast<size_t>(image.width) * image.height, c.expected.size());
        for (size_t i = 0; i < c.expected.size(); ++i) {
            const int x = static_cast<int>(i % image.width), y = static_cast<int>(i / image.width);
            EXPECT_EQ(at(image, x, y), c.expected[i]) << i;
        }
    }
}

TEST(PngDecoder, RefusesGreyAlphaAndFailsOnDamageWithoutEndingTheProcess) {
    PngSpec grey_alpha;
    grey_alpha.width = 1;
    grey_alpha.height = 1;
    grey_alpha.colour_type = PNG_COLOR_TYPE_GRAY_ALPHA;
    grey_alpha.samples = {1, 2};
    ImageBuffer image;
    EXPECT_FALSE(decode_png(image, make_png(grey_alpha), kNoColourKey));

    PngSpec rgb;
    rgb.width = 8;
    rgb.height = 8;
    rgb.samples.assign(8 * 8 * 3, 77);
    const Bytes good = make_png(rgb);
    ASSERT_TRUE(decode_png(image, good, kNoColourKey));
    Bytes damaged = good;
    damaged[damaged.size() - 20] ^= 0xFF;  // inside the compressed data: checksum fails
    EXPECT_FALSE(decode_png(image, damaged, kNoColourKey));
    for (size_t n : {size_t{4}, size_t{8}, size_t{30}, good.size() / 2, good.size() - 13})
        EXPECT_FALSE(decode_png(image, Bytes(good.begin(), good.begin() + n), kNoColourKey)) << n;
    Bytes huge = good;  // width field of the header chunk
    huge[16] = 0x00, huge[17] = 0x10, huge[18] = 0x00, huge[19] = 0x00;
    EXPECT_FALSE(decode_png(image, huge, kNoColourKey));
    EXPECT_FALSE(decode_png(image, make_bmp(picture(24)), kNoColourKey));
}

TEST(JpegDecoder, GreyAndColourDecodeOpaque) {
    ImageBuffer image;
    ASSERT_TRUE(decode_jpeg(image, make_jpeg(16, 8, 1, Bytes(16 * 8, 90))));
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 8);
    EXPECT_EQ(image.has_alpha, 0);
    EXPECT_EQ(at(image, 7, 5), (std::array<uint8_t, 4>{90, 90, 90, 255}));

    Bytes rgb;
    for (int i = 0; i < 8 * 8; ++i) rgb.insert(rgb.end(), {200, 40, 10});
    ASSERT_TRUE(decode_jpeg(image, make_jpeg(8, 8, 3, rgb)));
    const auto p = at(image, 3, 3);
    EXPECT_NEAR(p[0], 200, 3);
    EXPECT_NEAR(p[1], 40, 3);
    EXPECT_NEAR(p[2], 10, 3);
    EXPECT_EQ(p[3], 255);
}

TEST(JpegDecoder, DamagedFilesFailWithoutEndingTheProcess) {
    Bytes rgb(32 * 32 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7);
    const Bytes good = make_jpeg(32, 32, 3, rgb);
    ImageBuffer image;
    ASSERT_TRUE(decode_jpeg(image, good));
    for (size_t n : {size_t{2}, size_t{3}, size_t{20}, good.size() / 2, good.size() - 2})
        EXPECT_FALSE(decode_jpeg(image, Bytes(good.begin(), good.begin() + n))) << n;
    // A progressive file whose frame header claims 10000 by 10000 pixels: its
    // coefficient planes would need more memory than any image may take.
    Bytes giant = make_jpeg(32, 32, 3, rgb, true);
    ASSERT_TRUE(decode_jpeg(image, giant));
    for (size_t i = 0; i + 8 < giant.size(); ++i) {
        if (giant[i] == 0xFF && giant[i + 1] == 0xC2) {
            giant[i + 5] = giant[i + 7] = 10000 >> 8;
            giant[i + 6] = giant[i + 8] = 10000 & 0xFF;
            break;
        }
    }
    EXPECT_FALSE(decode_jpeg(image, giant));
    Bytes garbage = {0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3, 4, 5};
    EXPECT_FALSE(decode_jpeg(image, garbage));
    EXPECT_FALSE(decode_jpeg(image, make_bmp(picture(24))));
}

TEST(ImageFile, TriesEachDecoderAndKeysOnlyBmpAndPng) {
    testing_support::TempDir dir;
    BmpSpec s;
    s.width = 3;
    s.height = 1;
    s.values = {0x8000FF, 0x0000FF, 0x8000FF};
    const std::string bmp = dir.write("keyed.bmp", testing_support::as_string(make_bmp(s)));
    ImageBuffer image;
    ASSERT_TRUE(load_image_file(image, bmp, kDefaultKey));
    EXPECT_EQ(at(image, 0, 0), (std::array<uint8_t, 4>{255, 0, 0, 0}));  // recoloured, still clear
    EXPECT_EQ(at(image, 1, 0), (std::array<uint8_t, 4>{255, 0, 0, 255}));

    Bytes key_colour;
    for (int i = 0; i < 8 * 8; ++i) key_colour.insert(key_colour.end(), {255, 0, 128});
    const std::string jpg = dir.write("key.jpg", testing_support::as_string(make_jpeg(8, 8, 3, key_colour)));
    ASSERT_TRUE(load_image_file(image, jpg, kDefaultKey));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(at(image, x, y)[3], 255);

    PngSpec grey;
    grey.width = 1;
    grey.height = 1;
    grey.colour_type = PNG_COLOR_TYPE_GRAY;
    grey.samples = {5};
    std::string png = dir.write("g.png", testing_support::as_string(make_png(grey)));
    for (char& c : png)
        if (c == '/') c = '\\';  // programs may write either separator
    ASSERT_TRUE(load_image_file(image, png, kDefaultKey));
    EXPECT_EQ(at(image, 0, 0), (std::array<uint8_t, 4>{5, 5, 5, 255}));

    dir.write("text.txt", "not an image");
    EXPECT_FALSE(load_image_file(image, dir.file("text.txt"), kDefaultKey));
    EXPECT_FALSE(load_image_file(image, dir.file("missing.png"), kDefaultKey));
    EXPECT_FALSE(load_image_file(image, dir.path().string(), kDefaultKey));
}

}  // namespace
}  // namespace tvk
