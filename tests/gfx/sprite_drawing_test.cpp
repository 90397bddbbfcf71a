// Drawing commands on a real OpenGL context, checked on the pixels they leave in
// the back buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "gfx/gl_fixture.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/gl_state_cache.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/sprite_commands.h"

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
using Rgb = std::array<uint8_t, 3>;

constexpr Rgb kR{255, 0, 0}, kG{0, 255, 0}, kB{0, 0, 255}, kW{255, 255, 255}, kBlack{0, 0, 0};

class SpriteDrawingTest : public GlDeviceTest {
protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        ASSERT_TRUE(create_sprite_from_image(*device_, 1, quadrant_image(), false));
        clear();
    }
    // The quadrant sprite's colours at the centres of the four quarters of the
    // square (x, y, side): top-left, top-right, bottom-left, bottom-right.
    std::array<Rgb, 4> quarters(int32_t x, int32_t y, int32_t side) {
        const int32_t q = side / 4;
        return {rgb(x + q, y + q), rgb(x + 3 * q, y + q), rgb(x + q, y + 3 * q), rgb(x + 3 * q, y + 3 * q)};
    }
    static constexpr std::array<Rgb, 4> kUpright{kR, kG, kB, kW};
};

TEST_F(SpriteDrawingTest, PlainSpriteLandsWithItsTopLeftAtThePosition) {
    draw_sprite(1, 10, 5);
    EXPECT_EQ(quarters(10, 5, 16), kUpright);
    EXPECT_EQ(rgb(10, 5), kR);
    EXPECT_EQ(rgb(25, 20), kW);
    EXPECT_EQ(rgb(9, 5), kBlack);
    EXPECT_EQ(rgb(26, 5), kBlack);
    EXPECT_EQ(rgb(10, 4), kBlack);
    EXPECT_EQ(rgb(10, 21), kBlack);
    EXPECT_EQ(device_->drawing.bound_sprite, 1);
    EXPECT_EQ(gl_state(*device_, GlCap::texture_2d), 1);
}

TEST_F(SpriteDrawingTest, StretchedAndZoomedSpritesFillTheirRectangles) {
    draw_sprite_stretched(1, 0, 0, 32, 48);
    EXPECT_EQ(rgb(0, 0), kR);
    EXPECT_EQ(rgb(31, 0), kG);
    EXPECT_EQ(rgb(0, 47), kB);
    EXPECT_EQ(rgb(31, 47), kW);
    EXPECT_EQ(rgb(32, 10), kBlack);
    EXPECT_EQ(rgb(10, 48), kBlack);

    clear();
    // Doubled about its centre: 32 by 32 starting 8 pixels up and left.
    draw_sprite_zoomed(1, 40, 20, 2.0, 2.0);
    EXPECT_EQ(quarters(32, 12, 32), kUpright);
    EXPECT_EQ(rgb(32, 12), kR);
    EXPECT_EQ(rgb(63, 43), kW);
    EXPECT_EQ(rgb(31, 20), kBlack);
    EXPECT_EQ(rgb(64, 20), kBlack);
}

TEST_F(SpriteDrawingTest, PositiveAnglesTurnCounterClockwiseAboutTheCentre) {
    const struct {
        double angle;
        std::array<Rgb, 4> expected;
    } cases[] = {
        {0, kUpright},
        {90, {kG, kW, kR, kB}},   // the top edge goes to the left
        {-90, {kB, kR, kW, kG}},
        {180, {kW, kB, kG, kR}},
    };
    for (const auto& c : cases) {
        clear();
        draw_sprite_rotozoom(1, 20, 20, c.angle);
        EXPECT_EQ(quarters(20, 20, 16), c.expected) << c.angle;
    }
    clear();
    draw_sprite_rotozoom(1, 20, 20, 0, 2.0);  // zoom about the centre
    EXPECT_EQ(quarters(12, 12, 32), kUpright);
    EXPECT_EQ(rgb(11, 28), kBlack);
}

TEST_F(SpriteDrawingTest, AlphaModesBlendAsDescribed) {
    // A half-transparent grey sprite and an opaque one over a blue background.
    ASSERT_TRUE(create_sprite_from_image(
        *device_, 2, make_image(16, 16, [](int32_t, int32_t) { return Rgba{200, 200, 200, 128}; }), false));
    set_alpha_test(1.0);  // let every alpha through
    auto draw_over_blue = [&](double mode, int32_t slot) {
        clear(0, 0, 1, 1);
        set_alpha_mode(mode);
        draw_sprite(slot, 0, 0);
        return rgb(4, 4);  // red in the quadrant sprite
    };
    auto close_to = [](Rgb a, Rgb b) {
        for (int i = 0; i < 3; ++i)
            if (std::abs(a[i] - b[i]) > 2) {
                ADD_FAILURE() << int(a[0]) << "," << int(a[1]) << "," << int(a[2]);
                return false;
            }
        return true;
    };
    EXPECT_TRUE(close_to(draw_over_blue(0, 2), (Rgb{200, 200, 200})));
    EXPECT_EQ(gl_state(*device_, GlCap::blend), 0);
    EXPECT_TRUE(close_to(draw_over_blue(-1, 2), (Rgb{100, 100, 227})));  // its own alpha only
    EXPECT_EQ(draw_over_blue(-2, 2), draw_over_blue(-1, 2));
    EXPECT_EQ(device_->drawing.draw_alpha, 1.0f);
    EXPECT_TRUE(close_to(draw_over_blue(-0.5, 1), (Rgb{127, 0, 127})));  // half the red sprite
    EXPECT_EQ(gl_state(*device_, GlCap::blend), 1);
    EXPECT_TRUE(close_to(draw_over_blue(0, 1), kR));  // opaque again
    EXPECT_TRUE(close_to(draw_over_blue(0.5, 1), (Rgb{127, 0, 255})));  // adds half its light
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
}

TEST_F(SpriteDrawingTest, AlphaTestDropsFaintPixels) {
    ASSERT_TRUE(create_sprite_from_image(
        *device_, 2, make_image(16, 16, [](int32_t x, int32_t) { return Rgba{255, 255, 255, static_cast<uint8_t>(x < 8 ? 20 : 200)}; }),
        false));
    set_alpha_test(0.5);
    EXPECT_EQ(device_->drawing.alpha_test_reference, 0.5f);
    draw_sprite(2, 0, 0);
    EXPECT_EQ(rgb(2, 2), kBlack);
    EXPECT_EQ(rgb(12, 2), kW);
    set_alpha_test(2.0);
    EXPECT_EQ(gl_state(*device_, GlCap::alpha_test), 0);
    EXPECT_EQ(device_->drawing.alpha_test_reference, 2.0f);  // so that draw_rect keeps it off
    draw_sprite(2, 0, 0);
    EXPECT_EQ(rgb(2, 2), kW);
}

TEST_F(SpriteDrawingTest, AnimationFramesComeFromTheirRowAndColumn) {
    // A 64 by 32 strip of 16 by 16 frames, frame n in its own grey n*20.
    ASSERT_TRUE(create_sprite_from_image(*device_, 3, make_image(64, 32, [](int32_t x, int32_t y) {
        const uint8_t g = static_cast<uint8_t>(((y / 16) * 4 + x / 16) * 20 + 10);
        return Rgba{g, g, g, 255};
    }), false));
    draw_anim_frame(3, 5, 0, 0);
    EXPECT_EQ(rgb(8, 8), kBlack);  // no frame size yet: nothing drawn
    set_anim_frame_size(3, 16, 16);
    draw_anim_frame(3, 5, 0, 0);
    EXPECT_EQ(rgb(0, 0), (Rgb{110, 110, 110}));
    EXPECT_EQ(rgb(15, 15), (Rgb{110, 110, 110}));
    EXPECT_EQ(rgb(16, 8), kBlack);
    draw_anim_frame_stretched(3, 2, 20, 0, 32, 32);
    EXPECT_EQ(rgb(20, 0), (Rgb{50, 50, 50}));
    EXPECT_EQ(rgb(51, 31), (Rgb{50, 50, 50}));
    draw_anim_frame_rotozoom(3, 7, 60, 30, 90, 1.0);
    EXPECT_EQ(rgb(68, 38), (Rgb{150, 150, 150}));
}

TEST_F(SpriteDrawingTest, RectanglesCountNegativeSizesFromTheOtherEdge) {
    draw_rect(10, 10, -3, -2, 0x00FF00);
    for (int32_t y = 7; y <= 12; ++y)
        for (int32_t x = 6; x <= 12; ++x) {
            const bool inside = x >= 8 && x <= 10 && y >= 9 && y <= 10;
            EXPECT_EQ(rgb(x, y), inside ? kG : kBlack) << x << "," << y;
        }
    draw_rect(20, 20, 4, 3, 0xFF0000);
    EXPECT_EQ(rgb(20, 20), kB);
    EXPECT_EQ(rgb(23, 22), kB);
    EXPECT_EQ(rgb(24, 22), kBlack);
    EXPECT_EQ(rgb(23, 23), kBlack);
    EXPECT_EQ(device_->drawing.bound_sprite, -1);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[2], 1.0f);
}

TEST_F(SpriteDrawingTest, TransparencyColourRectangleWritesAlphaZero) {
    GLint alpha_bits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alpha_bits);
    ASSERT_EQ(alpha_bits, 8);
    clear(0, 0, 0, 1);
    draw_rect(0, 0, 8, 8, 0x8000FF);
    EXPECT_EQ(pixel(4, 4), (Rgba{255, 0, 128, 0}));
    EXPECT_EQ(pixel(9, 4)[3], 255);
    EXPECT_EQ(gl_state(*device_, GlCap::alpha_test), 1);  // put back afterwards
    set_alpha_test(1.0);
    draw_rect(0, 0, 8, 8, 0x0000FF);
    EXPECT_EQ(gl_state(*device_, GlCap::alpha_test), 0);
}

TEST_F(SpriteDrawingTest, LinesIncludeBothEndsAndPixelsReadBack) {
    draw_line(0, 0, 0, 0, 0xFFFFFF);
    EXPECT_EQ(rgb(0, 0), kW);
    EXPECT_EQ(rgb(1, 0), kBlack);
    draw_line(5, 3, 9, 3, 0x0000FF);
    for (int32_t x = 5; x <= 9; ++x) EXPECT_EQ(rgb(x, 3), kR) << x;
    EXPECT_EQ(rgb(4, 3), kBlack);
    EXPECT_EQ(rgb(10, 3), kBlack);
    draw_line(20, 10, 20, 14, 0x00FF00);
    EXPECT_EQ(rgb(20, 10), kG);
    EXPECT_EQ(rgb(20, 14), kG);
    set_pixel(30, 40, 0x123456);
    EXPECT_EQ(rgb(30, 40), (Rgb{0x56, 0x34, 0x12}));
    EXPECT_EQ(get_pixel(30, 40), 0x123456);
    device_->display.bgra_supported = 0;
    EXPECT_EQ(get_pixel(30, 40), 0x123456);
    EXPECT_EQ(get_pixel(31, 40), 0);
}

TEST_F(SpriteDrawingTest, GetPixelFollowsTheScreenOrientation) {
    // Logical (5, 30) and the window pixel (counted from the top-left) showing it.
    const struct {
        int32_t orientation, window_x, window_y;
    } cases[] = {{0, 5, 30}, {1, kWidth - 1 - 30, 5}, {2, kWidth - 1 - 5, kHeight - 1 - 30}, {3, 30, kHeight - 1 - 5}};
    for (const auto& c : cases) {
        set_orientation(*device_, c.orientation);
        clear();
        set_pixel(5, 30, 0x00FF00);
        EXPECT_EQ(rgb(c.window_x, c.window_y), kG) << c.orientation;
        EXPECT_EQ(get_pixel(5, 30), 0x00FF00) << c.orientation;
        EXPECT_EQ(get_pixel(6, 30), 0) << c.orientation;
    }
    set_orientation(*device_, 0);
}

TEST_F(SpriteDrawingTest, PolyvectorColoursOnlyWhenAVertexIsNotWhite) {
    // Untextured square of two triangles, white: drawn in the current colour.
    auto square = [](int32_t x, int32_t corner_colour) {
        start_polyvector(-1, 1);
        add_polyvector_vertex(x, 0, 0, 0, 0xFFFFFF);
        add_polyvector_vertex(x + 10, 0, 0, 0, corner_colour);  // top-right, first triangle only
        add_polyvector_vertex(x + 10, 10, 0, 0, 0xFFFFFF);
        add_polyvector_vertex(x, 0, 0, 0, 0xFFFFFF);
        add_polyvector_vertex(x + 10, 10, 0, 0, 0xFFFFFF);
        add_polyvector_vertex(x, 10, 0, 0, 0xFFFFFF);
        end_polyvector();
    };
    square(0, 0xFFFFFF);
    EXPECT_EQ(rgb(5, 2), kW);
    // One red corner: the colour array is on for the whole batch, shaded smoothly.
    square(20, 0x0000FF);
    const Rgb near_red = rgb(29, 0), far_white = rgb(21, 8);
    EXPECT_GT(near_red[0], 200);
    EXPECT_LT(near_red[1], 60);
    EXPECT_EQ(far_white, kW);
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_FLAT);
    EXPECT_EQ(gl_state(*device_, GlCap::dither), 0);

    // Textured fan: (tx, ty) count sprite pixels from the top-left.
    start_polyvector(1, 0);
    add_polyvector_vertex(40, 0, 8, 0, 0xFFFFFF);
    add_polyvector_vertex(56, 0, 16, 0, 0xFFFFFF);
    add_polyvector_vertex(56, 16, 16, 8, 0xFFFFFF);
    add_polyvector_vertex(40, 16, 8, 8, 0xFFFFFF);
    end_polyvector();
    EXPECT_EQ(rgb(41, 1), kG);
    EXPECT_EQ(rgb(54, 14), kG);

    // Two strips joined into one by a new segment.
    start_polyvector(-1, 2);
    for (int32_t s = 0; s < 2; ++s) {
        if (s) new_polyvector_segment();
        const int32_t x = 60 + s * 20;
        add_polyvector_vertex(x, 30, 0, 0, 0x00FF00);
        add_polyvector_vertex(x, 40, 0, 0, 0x00FF00);
        add_polyvector_vertex(x + 10, 30, 0, 0, 0x00FF00);
        add_polyvector_vertex(x + 10, 40, 0, 0, 0x00FF00);
    }
    end_polyvector();
    EXPECT_EQ(rgb(65, 35), kG);
    EXPECT_EQ(rgb(85, 35), kG);
    EXPECT_EQ(rgb(75, 35), kBlack);  // nothing between the strips
}

// Smoothing picks linear filtering for scaled draws; a sprite at its own size takes
// the nearest texel, which gives the same pixels there, unless that is switched off.
TEST_F(SpriteDrawingTest, SmoothingPicksTheTextureFilters) {
    auto filter_after = [](const std::function<void()>& draw) {
        draw();
        flush_draw_batch();
        GLint mag = 0, min = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        EXPECT_EQ(mag, min);
        return mag;
    };
    const auto unscaled = [] { draw_sprite(1, 0, 0); };
    const auto scaled = [] { draw_sprite_stretched(1, 0, 0, 30, 20); };
    EXPECT_EQ(filter_after(unscaled), GL_NEAREST);
    EXPECT_EQ(filter_after(scaled), GL_NEAREST);
    set_smoothing(5);
    EXPECT_EQ(device_->drawing.smoothing, 1);
    EXPECT_EQ(filter_after(scaled), GL_LINEAR);
    EXPECT_EQ(filter_after(unscaled), GL_NEAREST);
    set_unscaled_nearest(false);
    EXPECT_EQ(filter_after(unscaled), GL_LINEAR);
    set_unscaled_nearest(true);
}

TEST_F(SpriteDrawingTest, EmptyAndOutOfRangeSlotsDrawNothing) {
    draw_sprite(40, 0, 0);
    draw_sprite(-1, 0, 0);
    draw_sprite(65536, 0, 0);
    draw_sprite_stretched(40, 0, 0, 10, 10);
    draw_sprite_rotozoom(99999, 0, 0, 10);
    draw_anim_frame(-3, 0, 0, 0);
    EXPECT_EQ(rgb(5, 5), kBlack);
    draw_sprite_zoomed(1, 0, 0, 1e300, std::nan(""));  // no undefined conversion
}

}  // namespace
}  // namespace tvk
