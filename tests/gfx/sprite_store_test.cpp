// The sprite table on a real OpenGL context: texture layout, slot bookkeeping,
// loading through the decoders, array conversions and pixel-exact collisions.
#include <gtest/gtest.h>

#include "gfx/gl_fixture.h"
#include "gfx/image_fixtures.h"
#include "runtime/files/memory_files.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/screen_capture.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/gfx/targets/back_buffer_copy.h"
#include "runtime/gfx/texture_upload.h"
#include "runtime/value/error_state.h"

namespace tvk {
namespace {

using testing_support::GlDeviceTest;
using testing_support::kBlue;
using testing_support::kClear;
using testing_support::kGreen;
using testing_support::kRed;
using testing_support::kWhite;
using testing_support::make_image;
using testing_support::quadrant_image;
using testing_support::Rgba;

using SpriteStoreTest = GlDeviceTest;

ImageBuffer solid(int32_t w, int32_t h, Rgba c = kRed) {
    return make_image(w, h, [c](int32_t, int32_t) { return c; });
}

// The texels of a texture, rows as stored (bottom up).
std::vector<uint8_t> read_texture(uint32_t texture, int32_t w, int32_t h) {
    std::vector<uint8_t> texels(static_cast<size_t>(w) * h * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

TEST_F(SpriteStoreTest, FiveByThreeImageLiesBottomLeftInASixteenSquareTexture) {
    const ImageBuffer image = make_image(5, 3, [](int32_t x, int32_t y) {
        return Rgba{static_cast<uint8_t>(x * 10), static_cast<uint8_t>(y * 10), 1, 255};
    });
    ASSERT_TRUE(create_sprite_from_image(*device_, 7, image, false));
    const SpriteSlot& s = *sprite_slot(*device_, 7);
    EXPECT_EQ(s.texture_width, 16);
    EXPECT_EQ(s.texture_height, 16);
    EXPECT_FLOAT_EQ(s.u_extent, 0.3125f);
    EXPECT_FLOAT_EQ(s.v_extent, 0.1875f);
    EXPECT_NE(s.texture, 0u);
    EXPECT_NE(sprite_mipmapped_texture(*device_, 7), 0u);
    EXPECT_EQ(sprite_texture_name(7), s.texture);
    int32_t w = 0, h = 0;
    get_sprite_size(7, w, h);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 3);
    double dw = 0, dh = 0;
    get_sprite_size(7.9, dw, dh);
    EXPECT_EQ(dw, 5.0);

    const std::vector<uint8_t> texels = read_texture(s.texture, 16, 16);
    auto texel = [&](int32_t x, int32_t row) {
        const uint8_t* t = &texels[(static_cast<size_t>(row) * 16 + x) * 4];
        return Rgba{t[0], t[1], t[2], t[3]};
    };
    EXPECT_EQ(texel(0, 0), (Rgba{0, 20, 1, 255}));   // the image's bottom row comes first
    EXPECT_EQ(texel(4, 2), (Rgba{40, 0, 1, 255}));   // its top-right corner
    EXPECT_EQ(texel(5, 0), kClear);
    EXPECT_EQ(texel(0, 3), kClear);
}

TEST_F(SpriteStoreTest, TextureSidesArePowersOfTwoFromSixteen) {
    for (auto [side, expected] : {std::pair{1, 16}, {16, 16}, {17, 32}, {100, 128}, {513, 1024}})
        EXPECT_EQ(texture_side(side), expected) << side;
    ASSERT_TRUE(create_sprite_from_image(*device_, 1, solid(17, 40), false));
    EXPECT_EQ(sprite_slot(*device_, 1)->texture_width, 32);
    EXPECT_EQ(sprite_slot(*device_, 1)->texture_height, 64);
}

TEST_F(SpriteStoreTest, DeleteEmptiesTheSlotButKeepsTheFrameSize) {
    ASSERT_TRUE(create_sprite_from_image(*device_, 3, solid(32, 16), false));
    set_anim_frame_size(3, 8, 16);
    delete_sprite(3);
    const SpriteSlot& s = *sprite_slot(*device_, 3);
    EXPECT_EQ(s.texture, 0u);
    EXPECT_EQ(s.mipmapped_texture, 0u);
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.texture_width, -1);
    EXPECT_EQ(s.u_extent, 1.0f);
    EXPECT_EQ(s.frame_width, 8);
    EXPECT_EQ(s.frame_height, 16);
    set_anim_frame_size(3, 4, 4);  // an empty slot takes no frame size
    EXPECT_EQ(s.frame_width, 8);
}

TEST_F(SpriteStoreTest, FontSlotsGetNoMipmappedCopyAndBadSlotsAreRefused) {
    ASSERT_TRUE(create_sprite_from_image(*device_, kFontSlotBase + 2, solid(8, 8), false));
    EXPECT_EQ(sprite_mipmapped_texture(*device_, kFontSlotBase + 2), 0u);
    EXPECT_FALSE(create_sprite_from_image(*device_, -1, solid(8, 8), false));
    EXPECT_FALSE(create_sprite_from_image(*device_, kSpriteSlotCount, solid(8, 8), false));
    ImageBuffer empty;
    EXPECT_FALSE(create_sprite_from_image(*device_, 4, empty, false));
    int32_t w = 1, h = 1;
    get_sprite_size(70000, w, h);
    EXPECT_EQ(w, 0);
    delete_sprite(-5);
    draw_sprite(100000, 0, 0);
}

TEST_F(SpriteStoreTest, FreeSpriteIndexSearchesDownBelowTheFonts) {
    EXPECT_EQ(free_sprite_index(), 65503);
    ASSERT_TRUE(create_sprite_from_image(*device_, 65503, solid(4, 4), false));
    EXPECT_EQ(free_sprite_index(), 65502);
}

TEST_F(SpriteStoreTest, SpriteFromArrayChecksTheLengthAndKeepsAlpha) {
    IntArray pixels;
    array_fill(pixels, {static_cast<int32_t>(0xFF0000FF), 0x7F00FF00, 0, static_cast<int32_t>(0xFFFF0000)});
    ASSERT_TRUE(create_sprite_from_image(*device_, 9, solid(3, 3), false));
    EXPECT_EQ(sprite_from_array(pixels, 9, 3, 1), 0);
    EXPECT_EQ(sprite_from_array(pixels, 9, -2, -2), 0);
    EXPECT_EQ(sprite_slot(*device_, 9)->width, 3);  // untouched
    ASSERT_EQ(sprite_from_array(pixels, 9, 2, 2), 1);
    const SpriteSlot& s = *sprite_slot(*device_, 9);
    EXPECT_EQ(s.width, 2);
    const std::vector<uint8_t> texels = read_texture(s.texture, 16, 16);
    // Image row 0 (red, half-transparent green) is texture row 1.
    EXPECT_EQ((Rgba{texels[16 * 4 + 0], texels[16 * 4 + 1], texels[16 * 4 + 2], texels[16 * 4 + 3]}), kRed);
    EXPECT_EQ(texels[16 * 4 + 7], 0x7F);
    EXPECT_EQ((Rgba{texels[4], texels[5], texels[6], texels[7]}), kBlue);
}

TEST_F(SpriteStoreTest, LoadSpriteReadsFilesAndReportsFailures) {
    testing_support::BmpSpec bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.values = {0x8000FF, 0x0000FF, 0x00FF00, 0xFF0000};
    const std::string path = temp_.write("pic.bmp", testing_support::as_string(testing_support::make_bmp(bmp)));
    load_sprite(RtString(path.c_str()), 5);
    EXPECT_EQ(error_state().code, 0);
    int32_t w = 0, h = 0;
    get_sprite_size(5, w, h);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);

    load_sprite(RtString(temp_.file("missing.png").c_str()), 5);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    get_sprite_size(5, w, h);
    EXPECT_EQ(w, 0);  // a failed load leaves the slot empty

    load_sprite(RtString(path.c_str()), 65536);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    load_sprite(RtString(""), 5);
    EXPECT_EQ(error_state().code, 0);

    // The image as an array: the keyed pixel is transparent, the others opaque.
    IntArray pixels;
    int32_t aw = 0, ah = 0;
    ASSERT_TRUE(image_to_array(RtString(path.c_str()), aw, ah, pixels));
    ASSERT_EQ(pixels.count, 4);
    EXPECT_EQ(static_cast<uint32_t>(pixels(1)), 0xFF0000FFu);
    EXPECT_EQ(static_cast<uint32_t>(pixels(0)) >> 24, 0u);
    set_transparency_colour(0x0000FF);
    EXPECT_EQ(device_->drawing.font_transparency_colour, 0x0000FFu);
    ASSERT_TRUE(image_to_array(RtString(path.c_str()), aw, ah, pixels));
    EXPECT_EQ(static_cast<uint32_t>(pixels(0)), 0xFF8000FFu);
    EXPECT_EQ(static_cast<uint32_t>(pixels(1)) >> 24, 0u);
    EXPECT_FALSE(image_to_array(RtString(temp_.file("missing.bmp").c_str()), aw, ah, pixels));
}

TEST_F(SpriteStoreTest, LoadsFromMemoryFilesAndRefusesImagesBeyondTheTextureLimit) {
    testing_support::PngSpec png;
    png.width = 3;
    png.height = 2;
    png.samples.assign(3 * 2 * 3, 90);
    const testing_support::Bytes bytes = testing_support::make_png(png);
    const MemoryBlockRef block = make_memory_block(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    load_sprite(RtString(memory_file_name(block).c_str()), 6);
    EXPECT_EQ(error_state().code, 0);
    EXPECT_EQ(sprite_slot(*device_, 6)->width, 3);

    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    ASSERT_TRUE(create_sprite_from_image(*device_, 8, solid(limit, 1), false));
    EXPECT_EQ(sprite_slot(*device_, 8)->texture_width, limit);
    EXPECT_FALSE(create_sprite_from_image(*device_, 8, solid(limit + 1, 1), false));
    EXPECT_EQ(sprite_slot(*device_, 8)->width, 0);
}

TEST_F(SpriteStoreTest, BumpSpriteOfAFlatHeightFieldPointsStraightOut) {
    testing_support::BmpSpec bmp;
    bmp.width = 4;
    bmp.height = 4;
    bmp.values.assign(16, 0x404040);
    const std::string path = temp_.write("flat.bmp", testing_support::as_string(testing_support::make_bmp(bmp)));
    load_bump_sprite(RtString(path.c_str()), 2);
    ASSERT_EQ(error_state().code, 0);
    const std::vector<uint8_t> texels = read_texture(sprite_slot(*device_, 2)->texture, 16, 16);
    // Inside the image every neighbour has the same height: normal (0, 0, 1).
    EXPECT_EQ((Rgba{texels[(16 + 1) * 4], texels[(16 + 1) * 4 + 1], texels[(16 + 1) * 4 + 2],
                    texels[(16 + 1) * 4 + 3]}),
              (Rgba{127, 127, 255, 255}));
}

TEST(TextureUpload, NormalMapTurnsSlopesIntoColours) {
    // Height rising to the right: the normal leans left (red below the middle).
    std::vector<uint8_t> texels(16 * 16 * 4);
    for (int r = 0; r < 16; ++r)
        for (int x = 0; x < 16; ++x) texels[(r * 16 + x) * 4 + 2] = static_cast<uint8_t>(x * 10);
    convert_to_normal_map(texels, 16, 16);
    const uint8_t* t = &texels[(5 * 16 + 5) * 4];
    EXPECT_LT(t[0], 127);
    EXPECT_EQ(t[1], 127);
    EXPECT_GT(t[2], 127);
}

// Every level of a square mipmapped texture, level 0 first.
std::vector<std::vector<uint8_t>> read_levels(uint32_t texture, int32_t side) {
    std::vector<std::vector<uint8_t>> levels;
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int32_t level = 0;; ++level, side /= 2) {
        GLint w = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        EXPECT_EQ(w, side) << "level " << level;
        levels.emplace_back(static_cast<size_t>(side) * side * 4);
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, levels.back().data());
        if (side == 1) break;
    }
    return levels;
}

// The levels the load itself once built from the texels it uploaded.
std::vector<std::vector<uint8_t>> expected_levels(std::vector<uint8_t> texels, int32_t w, int32_t h) {
    make_square(texels, w, h);
    std::vector<std::vector<uint8_t>> levels{texels};
    for (int32_t side = w; side > 1; side /= 2) levels.push_back(next_mip_level(levels.back(), side, side));
    return levels;
}

// A picture of distinct texels, so that a wrong source shows in every level.
ImageBuffer gradient(int32_t w, int32_t h) {
    return make_image(w, h, [](int32_t x, int32_t y) {
        return Rgba{static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 5), static_cast<uint8_t>(x ^ y), 255};
    });
}

TEST_F(SpriteStoreTest, TheMipmappedCopyIsMadeWhenFirstAskedForFromThePictureAsLoaded) {
    const ImageBuffer picture = gradient(40, 20);
    ASSERT_TRUE(create_sprite_from_image(*device_, 5, picture, false));
    EXPECT_EQ(sprite_slot(*device_, 5)->mipmapped_texture, 0u) << "not made by the load";
    const uint32_t made = sprite_mipmapped_texture(*device_, 5);
    ASSERT_NE(made, 0u);
    EXPECT_EQ(sprite_mipmapped_texture(*device_, 5), made) << "made once";
    EXPECT_EQ(read_levels(made, 32), expected_levels(texture_texels(picture, 0, 0, 40, 20), 64, 32));

    // A normal map's copy is made from the converted texels, as the texture holds them.
    ASSERT_TRUE(create_sprite_from_image(*device_, 6, picture, true));
    std::vector<uint8_t> bumps = texture_texels(picture, 0, 0, 40, 20);
    convert_to_normal_map(bumps, 64, 32);
    EXPECT_EQ(read_levels(sprite_mipmapped_texture(*device_, 6), 32), expected_levels(bumps, 64, 32));

    // A draw that asks for the copies binds them: the flag of bind_sprite.
    flush_draw_batch(*device_);
    ASSERT_TRUE(create_sprite_from_image(*device_, 7, picture, false));
    bind_sprite(*device_, 7, -1, 1);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), sprite_slot(*device_, 7)->mipmapped_texture);
    EXPECT_NE(bound, 0);
    bind_sprite(*device_, -1, -1, 0);
    delete_sprite(7);
    EXPECT_EQ(sprite_slot(*device_, 7)->mipmapped_texture, 0u);
}

TEST_F(SpriteStoreTest, APictureAboutToChangeFirstGetsTheMipmappedCopyOfTheLoadedOne) {
    const ImageBuffer picture = gradient(16, 16);
    ASSERT_TRUE(create_sprite_from_image(*device_, 8, picture, false));
    // The screen copied over the picture, into the same texture.
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(copy_back_buffer_to_sprite(*device_, 8, 0, 0, 16, 16, CopyAlpha::opaque));
    EXPECT_NE(read_texture(sprite_slot(*device_, 8)->texture, 16, 16), texture_texels(picture, 0, 0, 16, 16));
    EXPECT_EQ(read_levels(sprite_mipmapped_texture(*device_, 8), 16),
              expected_levels(texture_texels(picture, 0, 0, 16, 16), 16, 16));

    // A picture grabbed from the screen has none.
    ASSERT_TRUE(create_sprite_from_image(*device_, 9, picture, false));
    ASSERT_TRUE(grab_sprite(*device_, 9, 0, 0, 16, 16));
    EXPECT_EQ(sprite_mipmapped_texture(*device_, 9), 0u);
}

TEST(TextureUpload, MipChainSquaresAndHalvesDownToOneTexel) {
    std::vector<uint8_t> texels(32 * 16 * 4, 200);
    int32_t w = 32, h = 16;
    make_square(texels, w, h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 16);
    EXPECT_EQ(texels.size(), 16u * 16 * 4);
    EXPECT_EQ(texels[0], 200);
    const std::vector<uint8_t> next = next_mip_level(texels, 16, 16);
    EXPECT_EQ(next.size(), 8u * 8 * 4);
    EXPECT_EQ(next[5], 200);
    EXPECT_EQ(next_mip_level({1, 2, 3, 4}, 1, 1).size(), 4u);
}

TEST_F(SpriteStoreTest, CollisionNeedsOpaquePixelsOnOpaquePixels) {
    ASSERT_TRUE(create_sprite_from_image(*device_, 1, solid(8, 8), false));
    ASSERT_TRUE(create_sprite_from_image(*device_, 2, solid(8, 8), false));
    // Opaque only in its right half.
    ASSERT_TRUE(create_sprite_from_image(
        *device_, 3, make_image(8, 8, [](int32_t x, int32_t) { return x >= 4 ? kGreen : kClear; }), false));
    const struct {
        const char* what;
        int32_t slot_b, xb, yb, expected;
    } cases[] = {
        {"touching at the right edge", 2, 8, 0, 0},
        {"touching at the bottom edge", 2, 0, 8, 0},
        {"touching corners", 2, 8, 8, 0},
        {"one pixel overlap", 2, 7, 7, 1},
        {"same place", 2, 0, 0, 1},
        {"far apart", 2, 40, 40, 0},
        {"only its clear half over it", 3, 4, 0, 0},
        {"one opaque column over it", 3, 3, 0, 1},
        {"empty slot", 50, 0, 0, 0},
        {"slot beyond the table", 70000, 0, 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(sprite_collision(1, 0, 0, c.slot_b, c.xb, c.yb), c.expected) << c.what;
    EXPECT_EQ(sprite_collision(1, 2147483647, 0, 2, 2147483647, 0), 1);
    EXPECT_NE(device_->sprites.pixel_copies[1].get(), nullptr);  // masks are kept
    delete_sprite(1);
    EXPECT_EQ(device_->sprites.pixel_copies[1].get(), nullptr);
}

TEST_F(SpriteStoreTest, AnimCollisionTestsTheFramesRectangles) {
    // Four 8 by 8 frames in a row; only frame 2 is opaque.
    ASSERT_TRUE(create_sprite_from_image(
        *device_, 1, make_image(32, 8, [](int32_t x, int32_t) { return x / 8 == 2 ? kWhite : kClear; }), false));
    set_anim_frame_size(1, 8, 8);
    ASSERT_TRUE(create_sprite_from_image(*device_, 2, solid(8, 8), false));
    EXPECT_EQ(anim_collision(1, 2, 0, 0, 2, 0, 4, 4), 1);
    EXPECT_EQ(anim_collision(1, 1, 0, 0, 2, 0, 4, 4), 0);
    EXPECT_EQ(anim_collision(1, 2, 0, 0, 2, 0, 8, 0), 0);  // the frame is only 8 wide
    EXPECT_EQ(anim_collision(1, 9, 0, 0, 2, 0, 0, 0), 0);  // a frame past the image is clear
    // Without a frame size the whole sprite is the one frame.
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 16, 0), 1);
}

}  // namespace
}  // namespace tvk
