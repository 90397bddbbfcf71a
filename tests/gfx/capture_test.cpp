// Screen capture on a headless context: grabbing into sprites on both paths and in
// every orientation, reading sprites back, saving sprites and the screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gl_fixture.h"
#include "runtime/gfx/capture_commands.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/screen_capture.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/value/error_state.h"

namespace tvk {
namespace {

using testing_support::GlDeviceTest;
using testing_support::kBlue;
using testing_support::kClear;
using testing_support::kGreen;
using testing_support::kRed;
using testing_support::kWhite;
using testing_support::quadrant_image;
using testing_support::Rgba;

Rgba at(const ImageBuffer& image, int32_t x, int32_t y) {
    const uint8_t* p = image.pixel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

void expect_same_pixels(const ImageBuffer& a, const ImageBuffer& b) {
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x) ASSERT_EQ(at(a, x, y), at(b, x, y)) << x << "," << y;
}

class CaptureTest : public GlDeviceTest {
protected:
    void TearDown() override {
        device_->capture.alpha_bits = -1;
        GlDeviceTest::TearDown();
    }
    ImageBuffer read_back(int32_t slot) {
        ImageBuffer image;
        EXPECT_TRUE(read_sprite_pixels(*device_, slot, image));
        return image;
    }
};

TEST_F(CaptureTest, GrabWithZeroSizeEmptiesTheSlot) {
    for (const auto& [w, h] : {std::pair{0, 10}, std::pair{10, 0}}) {
        ASSERT_TRUE(create_sprite_from_image(*device_, 5, quadrant_image(), false));
        set_anim_frame_size(5, 4, 4);
        EXPECT_EQ(grab_sprite(5, 0, 0, w, h), 1);
        EXPECT_EQ(sprite_slot(*device_, 5)->width, 0);
        EXPECT_EQ(sprite_slot(*device_, 5)->texture, 0u);
        EXPECT_EQ(sprite_slot(*device_, 5)->frame_width, 0);
    }
    EXPECT_EQ(grab_sprite(-1, 0, 0, 4, 4), 0);
    EXPECT_EQ(grab_sprite(kSpriteCommandSlots, 0, 0, 4, 4), 0);
}

TEST_F(CaptureTest, GrabCopiesTheRectangleWithItsFramebufferAlpha) {
    clear();   // alpha 0
    ASSERT_TRUE(create_sprite_from_image(*device_, 1, quadrant_image(), false));
    draw_sprite(1, 10, 10);
    // One column more than the picture: the cleared column keeps its alpha 0.
    EXPECT_EQ(grab_sprite(7, 10, 10, 17, 16), 1);
    const SpriteSlot& s = *sprite_slot(*device_, 7);
    EXPECT_EQ(s.width, 17);
    EXPECT_EQ(s.height, 16);
    EXPECT_EQ(s.texture_width, 32);
    EXPECT_EQ(s.texture_height, 16);
    EXPECT_FLOAT_EQ(s.u_extent, 17.0f / 32.0f);
    const ImageBuffer grabbed = read_back(7);
    EXPECT_EQ(at(grabbed, 0, 0), kRed);
    EXPECT_EQ(at(grabbed, 15, 0), kGreen);
    EXPECT_EQ(at(grabbed, 0, 15), kBlue);
    EXPECT_EQ(at(grabbed, 15, 15), kWhite);
    EXPECT_EQ(at(grabbed, 16, 8), kClear);

    // The grabbed sprite draws like the original; a grab of the same size reuses
    // the texture.
    const uint32_t texture = s.texture;
    clear();
    draw_sprite(7, 50, 30);
    EXPECT_EQ(pixel(50, 30), kRed);
    EXPECT_EQ(pixel(65, 45), kWhite);
    EXPECT_EQ(grab_sprite(7, 50, 30, 17, 16), 1);
    EXPECT_EQ(sprite_slot(*device_, 7)->texture, texture);
}

TEST_F(CaptureTest, WithoutFramebufferAlphaTheTransparencyColourIsKeyedOut) {
    device_->capture.alpha_bits = 0;
    clear(0, 0, 0, 1);
    // An opaque picture with a pixel of the default transparency colour.
    ImageBuffer image = quadrant_image();
    uint8_t* key = image.pixel(3, 3);
    key[0] = 255, key[1] = 0, key[2] = 128, key[3] = 255;
    ASSERT_TRUE(create_sprite_from_image(*device_, 1, image, false));
    set_smoothing(0);
    draw_sprite(1, 20, 20);
    set_pixel(4, 4, 0x00FF00);   // where the on-screen form is measured
    set_alpha_mode(-1);          // blending does not hide the measuring plot
    EXPECT_EQ(grab_sprite(2, 20, 20, 16, 16), 1);
    const ImageBuffer grabbed = read_back(2);
    EXPECT_EQ(at(grabbed, 3, 3)[3], 0);
    EXPECT_EQ(at(grabbed, 0, 0), kRed);
    EXPECT_EQ(at(grabbed, 15, 15), kWhite);
    EXPECT_EQ(rgb(4, 4), (std::array<uint8_t, 3>{0, 255, 0}));   // put back after measuring
    set_alpha_mode(0);

    // With a black transparency colour nothing is plotted; black pixels go.
    set_transparency_colour(0);
    clear(0, 0, 0, 1);
    draw_sprite(1, 20, 20);
    draw_rect(20, 20, 2, 2, 0);
    EXPECT_EQ(grab_sprite(2, 20, 20, 16, 16), 1);
    const ImageBuffer keyed = read_back(2);
    EXPECT_EQ(at(keyed, 0, 0)[3], 0);
    EXPECT_EQ(at(keyed, 2, 2), kRed);
}

TEST_F(CaptureTest, GrabsInTurnedScreensHoldTheLogicalPicture) {
    ASSERT_TRUE(create_sprite_from_image(*device_, 1, quadrant_image(), false));
    for (int32_t orientation = 1; orientation <= 3; ++orientation) {
        SCOPED_TRACE(orientation);
        set_orientation(*device_, orientation);
        clear();
        draw_sprite(1, 12, 8);
        EXPECT_EQ(grab_sprite(3, 12, 8, 16, 16), 1);
        expect_same_pixels(read_back(3), quadrant_image());
    }
}

TEST_F(CaptureTest, SavedSpritesLoadBackWithTheirPixels) {
    ImageBuffer image = quadrant_image();
    for (int32_t x = 4; x < 12; ++x) std::memcpy(image.pixel(x, 7), kClear.data(), 4);
    ASSERT_TRUE(create_sprite_from_image(*device_, 1, image, false));
    for (const char* name : {"s.png", "s.PNG", "s.Jpg", "s.tga", "s.bmp"}) {
        SCOPED_TRACE(name);
        const std::string path = temp_.file(name);
        ASSERT_EQ(save_sprite(path.c_str(), 1), 1);
        load_sprite(path.c_str(), 2);
        ASSERT_EQ(error_state().code, 0);
        const ImageBuffer back = read_back(2);
        ASSERT_EQ(back.width, 16);
        const bool jpeg = std::string(name).ends_with("Jpg");
        const bool png = std::string(name).ends_with("png") || std::string(name).ends_with("PNG");
        for (int32_t y = 0; y < 16; ++y)
            for (int32_t x = 0; x < 16; ++x) {
                const Rgba want = at(image, x, y), got = at(back, x, y);
                if (jpeg) {
                    EXPECT_EQ(got[3], 255);
                    // Hard colour edges ring in JPEG; away from them the colours hold.
                    if (y != 7 && (x % 8) > 1 && (x % 8) < 6 && (y % 8) > 1 && (y % 8) < 6) {
                        for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], 40) << x << "," << y;
                    }
                } else if (want[3] == 0) {
                    EXPECT_EQ(got[3], 0) << x << "," << y;   // the BMP's key colour comes back clear
                    if (png) {
                        EXPECT_EQ(got, want);
                    }
                } else {
                    EXPECT_EQ(got, want) << x << "," << y;
                }
            }
    }
    IntArray pixels;
    ASSERT_EQ(sprite_to_array(pixels, 1), 1);
    ASSERT_EQ(pixels.count, 256u);
    EXPECT_EQ(static_cast<uint32_t>(pixels(0)), 0xFF0000FFu);                 // red, opaque
    EXPECT_EQ(static_cast<uint32_t>(pixels(255)), 0xFFFFFFFFu);      // white
    EXPECT_EQ(pixels(7 * 16 + 4), 0);                                       // transparent black
}

TEST_F(CaptureTest, SavedScreenMatchesWhatWasDrawn) {
    clear(0.2f, 0.4f, 0.6f, 1.0f);
    ASSERT_TRUE(create_sprite_from_image(*device_, 1, quadrant_image(), false));
    draw_sprite(1, 70, 40);
    draw_rect(5, 5, 10, 3, 0x00FFFF);
    const std::string path = temp_.file("screen.png");
    ASSERT_EQ(save_screen(path.c_str()), 1);
    EXPECT_EQ(free_sprite_index(), kFontSlotBase - 1);   // the slot it used is free again
    ImageBuffer saved;
    ASSERT_TRUE(load_image_file(saved, path, -1));
    ASSERT_EQ(saved.width, kWidth);
    ASSERT_EQ(saved.height, kHeight);
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) ASSERT_EQ(at(saved, x, y), pixel(x, y)) << x << "," << y;
}

TEST_F(CaptureTest, FailedSavesSetNoSuchFile) {
    clear_error();
    EXPECT_EQ(save_sprite(temp_.file("empty.png").c_str(), 9), 0);   // empty slot
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    ASSERT_TRUE(create_sprite_from_image(*device_, 9, quadrant_image(), false));
    clear_error();
    EXPECT_EQ(save_sprite(temp_.file("no/such/folder.png").c_str(), 9), 0);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    clear_error();
    EXPECT_EQ(save_screen(temp_.file("no/such/folder.bmp").c_str()), 0);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    IntArray pixels;
    EXPECT_EQ(sprite_to_array(pixels, 10), 0);
}

}  // namespace
}  // namespace tvk
