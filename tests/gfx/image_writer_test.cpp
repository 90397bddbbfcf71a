// The image writers: format choice by name, the BMP layout, round trips through
// the decoders, and refusals.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/gfx/bmp_decoder.h"
#include "runtime/gfx/bmp_writer.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/image_writer.h"
#include "runtime/gfx/jpeg_decoder.h"
#include "runtime/gfx/jpeg_writer.h"
#include "runtime/gfx/png_decoder.h"
#include "runtime/gfx/png_writer.h"
#include "support/temp_dir.h"

namespace tvk {
namespace {

using testing_support::TempDir;

ImageBuffer gradient(int32_t w, int32_t h, bool with_hole) {
    ImageBuffer image;
    allocate_image(image, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 255 / w);
            p[1] = static_cast<uint8_t>(y * 255 / h);
            p[2] = static_cast<uint8_t>(128 + (x + y) % 64);
            p[3] = with_hole && x < 3 && y < 2 ? 0 : 255;
        }
    return image;
}

uint32_t read32(const std::vector<uint8_t>& f, size_t at) {
    return f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) | (static_cast<uint32_t>(f[at + 3]) << 24);
}

TEST(ImageWriterTest, FormatFollowsTheEndOfTheName) {
    const struct {
        const char* name;
        ImageFileKind kind;
    } cases[] = {{"shot.png", ImageFileKind::png},  {"a.PNG", ImageFileKind::png},
                 {".png", ImageFileKind::bmp},      {"a.Jpg", ImageFileKind::jpeg},
                 {"dir/xjpg", ImageFileKind::jpeg}, {"a.jpeg", ImageFileKind::bmp},
                 {"a.tga", ImageFileKind::bmp},     {"a", ImageFileKind::bmp}};
    for (const auto& c : cases) EXPECT_EQ(image_file_kind(c.name), c.kind) << c.name;
}

TEST(ImageWriterTest, BmpLayoutWithPaddedBottomUpRowsAndTransparentPixelsInTheKeyColour) {
    ImageBuffer image = gradient(3, 2, false);
    image.pixel(1, 0)[3] = 254;   // not fully opaque: written in the key colour
    std::vector<uint8_t> f;
    ASSERT_TRUE(encode_bmp(image, f));
    const uint32_t row = 12;   // 3 * 3 bytes padded to 4
    ASSERT_EQ(f.size(), 54 + row * 2);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(read32(f, 2), 54 + row * 2);
    EXPECT_EQ(read32(f, 10), 54u);
    EXPECT_EQ(read32(f, 14), 40u);
    EXPECT_EQ(read32(f, 18), 3u);
    EXPECT_EQ(read32(f, 22), 2u);
    EXPECT_EQ(f[26] | (f[27] << 8), 1);
    EXPECT_EQ(f[28] | (f[29] << 8), 24);
    EXPECT_EQ(read32(f, 30), 0u);
    EXPECT_EQ(read32(f, 38), 10000u);
    EXPECT_EQ(read32(f, 42), 10000u);
    // File row 0 is the image's bottom row, pixels B, G, R, then zero padding.
    const uint8_t* bottom_left = image.pixel(0, 1);
    EXPECT_EQ(f[54], bottom_left[2]);
    EXPECT_EQ(f[55], bottom_left[1]);
    EXPECT_EQ(f[56], bottom_left[0]);
    EXPECT_EQ(f[54 + 9], 0);
    EXPECT_EQ(f[54 + 11], 0);
    const size_t keyed = 54 + row + 3;   // top row, second pixel
    EXPECT_EQ(f[keyed], 128);
    EXPECT_EQ(f[keyed + 1], 0);
    EXPECT_EQ(f[keyed + 2], 255);
}

TEST(ImageWriterTest, EncodedFilesDecodeToTheSamePixels) {
    const ImageBuffer image = gradient(37, 21, true);
    std::vector<uint8_t> f;
    ImageBuffer back;

    ASSERT_TRUE(encode_png(image, f));
    ASSERT_TRUE(decode_png(back, f, -1));
    ASSERT_EQ(back.width, 37);
    ASSERT_EQ(back.height, 21);
    EXPECT_EQ(0, std::memcmp(back.pixels.data(), image.pixels.data(), image.pixels.size()));

    // BMP: the transparent pixels come back transparent under the default key.
    ASSERT_TRUE(encode_bmp(image, f));
    ASSERT_TRUE(decode_bmp(back, f, 0x8000FF));
    for (int32_t y = 0; y < 21; ++y)
        for (int32_t x = 0; x < 37; ++x) {
            const uint8_t* a = image.pixel(x, y);
            const uint8_t* b = back.pixel(x, y);
            if (a[3] == 0) {
                EXPECT_EQ(b[3], 0) << x << "," << y;
            } else {
                EXPECT_EQ(0, std::memcmp(a, b, 4)) << x << "," << y;
            }
        }

    // JPEG: within its loss, alpha dropped.
    ASSERT_TRUE(encode_jpeg(image, 80, f));
    ASSERT_TRUE(decode_jpeg(back, f));
    ASSERT_EQ(back.width, 37);
    int worst = 0;
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        for (size_t k = 0; k < 3; ++k) worst = std::max(worst, std::abs(back.pixels[i + k] - image.pixels[i + k]));
        EXPECT_EQ(back.pixels[i + 3], 255);
    }
    EXPECT_LE(worst, 24);
}

TEST(ImageWriterTest, WritesReplaceOldFilesAndRefuseWhatCannotBeWritten) {
    TempDir dir;
    const ImageBuffer image = gradient(8, 8, false);
    const struct {
        const char* name;
        const char* signature;
    } cases[] = {{"a.PNG", "\x89PNG"}, {"b.Jpg", "\xFF\xD8"}, {"c.tga", "BM"}};
    for (const auto& c : cases) {
        const std::string path = dir.file(c.name);
        dir.write(c.name, std::string(100000, 'x'));   // an older, longer file
        ASSERT_TRUE(write_image_file(path, image)) << c.name;
        const std::string bytes = dir.read(c.name);
        EXPECT_EQ(bytes.compare(0, std::strlen(c.signature), c.signature), 0) << c.name;
        EXPECT_LT(bytes.size(), 100000u);
        ImageBuffer back;
        EXPECT_TRUE(load_image_file(back, path, -1)) << c.name;
    }
    // An empty folder of that name is replaced too.
    std::filesystem::create_directory(dir.file("d.png"));
    EXPECT_TRUE(write_image_file(dir.file("d.png"), image));

    EXPECT_FALSE(write_image_file(dir.file("missing/e.png"), image));
    EXPECT_FALSE(write_image_file("mem://00000010.00001000", image));
    EXPECT_FALSE(write_image_file("", image));
    ImageBuffer empty;
    EXPECT_FALSE(write_image_file(dir.file("f.bmp"), empty));
    ImageBuffer short_block = image;
    short_block.pixels.resize(8 * 4);
    for (const char* name : {"g.png", "g.jpg", "g.bmp"})
        EXPECT_FALSE(write_image_file(dir.file(name), short_block)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir.file("f.bmp")));
}

}  // namespace
}  // namespace tvk
