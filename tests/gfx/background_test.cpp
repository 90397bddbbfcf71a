// Background tile sets on a headless context: loaded pictures in tiles of 512,
// drawn instead of clearing, removed by a clear colour; screen grabs in one tile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gl_fixture.h"
#include "runtime/gfx/background_commands.h"
#include "runtime/gfx/backgrounds.h"
#include "runtime/gfx/display_commands.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/image_writer.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/value/error_state.h"

namespace tvk {
namespace {

using testing_support::GlDeviceTest;
using testing_support::Rgba;

// A picture whose every pixel tells where it is.
Rgba marker(int32_t x, int32_t y) {
    return {static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 5), static_cast<uint8_t>(((x + y) & 0xC0) | 1),
            255};
}

class BackgroundTest : public GlDeviceTest {
protected:
    // The window pixel at (x, y) from the top-left, whatever the window's size.
    Rgba window_pixel(int32_t x, int32_t y) {
        flush_draw_batch();
        glFinish();
        Rgba rgba{};
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, device_->display.window_height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }
    std::vector<uint8_t> tile_texels(int32_t set, int32_t column, int32_t row, int32_t side) {
        std::vector<uint8_t> texels(static_cast<size_t>(side) * side * 4);
        glBindTexture(GL_TEXTURE_2D, device_->backgrounds.sets[set].textures[column * 8 + row]);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        device_->drawing.bound_sprite = -1;
        return texels;
    }
    std::string write_picture(int32_t w, int32_t h) {
        const std::string path = temp_.file("back.png");
        EXPECT_TRUE(write_image_file(path, testing_support::make_image(w, h, marker)));
        return path;
    }
};

TEST_F(BackgroundTest, LoadedPictureIsTiledInPiecesOf512) {
    load_background(write_picture(1000, 700).c_str());
    ASSERT_EQ(error_state().code, 0);
    const BackgroundTileSet& set = device_->backgrounds.sets[0];
    EXPECT_EQ(set.columns, 2);
    EXPECT_EQ(set.rows, 2);
    const BackgroundTileSizes& sizes = *background_tile_sizes(*device_, 0);
    for (int32_t i : {0, 1, 8, 9}) {
        EXPECT_EQ(sizes.texture_width[i], 512);
        EXPECT_EQ(sizes.used_height[i], 512);
    }
    // Tile (1, 1) holds picture pixels 512.. from its top row (the texture's last),
    // and transparent black beyond the picture.
    const std::vector<uint8_t> texels = tile_texels(0, 1, 1, 512);
    auto texel = [&](int32_t x, int32_t row) {
        const uint8_t* t = &texels[(static_cast<size_t>(row) * 512 + x) * 4];
        return Rgba{t[0], t[1], t[2], t[3]};
    };
    EXPECT_EQ(texel(0, 511), marker(512, 512));
    EXPECT_EQ(texel(487, 511 - 187), marker(999, 699));
    EXPECT_EQ(texel(488, 511), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(texel(0, 511 - 188), (Rgba{0, 0, 0, 0}));

    // Loading draws the picture at once, from the screen's top-left, unscaled.
    EXPECT_EQ(pixel(0, 0), marker(0, 0));
    EXPECT_EQ(pixel(95, 63), marker(95, 63));
}

TEST_F(BackgroundTest, PresentFrameDrawsSetZeroInsteadOfClearing) {
    set_clear_colour(*device_, 0x0000FF);
    load_background(write_picture(200, 100).c_str());
    set_alpha_mode(-0.5);   // the background draws opaque whatever the blending
    set_alpha_test(0.5);
    clear(0, 1, 0, 1);
    ASSERT_EQ(present_frame(*device_, nullptr), 1);
    EXPECT_EQ(pixel(10, 20), marker(10, 20));
    EXPECT_EQ(pixel(95, 63), marker(95, 63));
    // Afterwards blending is off and the alpha test is back as it was.
    EXPECT_FLOAT_EQ(device_->drawing.draw_alpha, 1.0f);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_ALPHA_TEST), GL_TRUE);

    // A clear colour takes the background's place.
    set_clear_colour(0x0000FF);
    EXPECT_TRUE(device_->backgrounds.sets[0].empty());
    ASSERT_EQ(present_frame(*device_, nullptr), 1);
    EXPECT_EQ(rgb(10, 20), (std::array<uint8_t, 3>{255, 0, 0}));
}

TEST_F(BackgroundTest, FailedLoadClearsSetZeroToBlack) {
    load_background(write_picture(50, 50).c_str());
    ASSERT_FALSE(device_->backgrounds.sets[0].empty());
    load_background(temp_.file("missing.png").c_str());
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_TRUE(device_->backgrounds.sets[0].empty());
    EXPECT_EQ(rgb(10, 10), (std::array<uint8_t, 3>{0, 0, 0}));
}

TEST_F(BackgroundTest, GrabbedWindowIsOneTileOnBothPaths) {
    EXPECT_EQ(grab_tile_side(640, 480, 16384), 1024);
    EXPECT_EQ(grab_tile_side(96, 64, 16384), 128);
    EXPECT_EQ(grab_tile_side(3000, 200, 1024), 1024);

    // A 640 by 480 window in place of the fixture's.
    delete_all_sprites(*device_);
    free_sprite_table(*device_);
    destroy_graphics_device();
    device_ = &create_graphics_device();
    ASSERT_TRUE(open_window(*device_, nullptr, 640, 480, 0, 60, 0));
    reset_2d_state(*device_);
    for (const uint8_t bgra : {uint8_t{1}, uint8_t{0}}) {
        SCOPED_TRACE(bgra ? "copied" : "read back");
        device_->display.bgra_supported = bgra;
        clear(0, 0, 0, 1);
        draw_rect(0, 0, 10, 10, 0x0000FF);
        draw_rect(630, 470, 10, 10, 0x00FF00);
        draw_rect(300, 200, 40, 40, 0xFF0000);
        use_screen_as_background();
        const BackgroundTileSet& set = device_->backgrounds.sets[0];
        ASSERT_EQ(set.columns, 1);
        ASSERT_EQ(set.rows, 1);
        const BackgroundTileSizes& sizes = *background_tile_sizes(*device_, 0);
        EXPECT_EQ(sizes.texture_width[0], 1024);
        EXPECT_EQ(sizes.texture_height[0], 1024);
        EXPECT_EQ(sizes.used_width[0], 640);
        EXPECT_EQ(sizes.used_height[0], 480);
        clear(1, 1, 1, 1);
        draw_background(*device_, 0);
        EXPECT_EQ(window_pixel(0, 0), (Rgba{255, 0, 0, 255}));
        EXPECT_EQ(window_pixel(639, 479), (Rgba{0, 255, 0, 255}));
        EXPECT_EQ(window_pixel(320, 220), (Rgba{0, 0, 255, 255}));
        EXPECT_EQ(window_pixel(100, 300), (Rgba{0, 0, 0, 255}));
    }
    free_background(*device_, 0);
    EXPECT_TRUE(device_->backgrounds.sets[0].empty());
    EXPECT_EQ(device_->backgrounds.sets[0].textures[0], 0u);
}

}  // namespace
}  // namespace tvk
