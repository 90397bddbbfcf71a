// Render targets on a real headless context: drawing lands in the target's sprite,
// on framebuffer objects and on the back-buffer emulation alike, and the emulation
// gives the window back as it was.
#include <gtest/gtest.h>

#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/screen_capture.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/gfx/targets/target_commands.h"
#include "targets/target_fixture.h"

namespace tvk {
namespace {

using testing_support::TargetDeviceTest;
using Rgb = std::array<uint8_t, 3>;

constexpr int32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
constexpr Rgb kR{255, 0, 0}, kG{0, 255, 0}, kB{0, 0, 255}, kBlack{0, 0, 0};
constexpr int32_t kSprite = 7;

TEST_F(TargetDeviceTest, TextureIsPowerOfTwoWithImageExtents) {
    struct Case {
        int32_t width, height, texture_width, texture_height;
        float u, v;
    };
    const Case cases[] = {
        {100, 30, 128, 32, 0.78125f, 0.9375f},
        {1, 1, 2, 2, 0.5f, 0.5f},
        {64, 3, 64, 4, 1.0f, 0.75f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        create_render_target(*device_, 2, kSprite, c.width, c.height);
        const SpriteSlot* s = sprite_slot(*device_, kSprite);
        EXPECT_EQ(s->texture_width, c.texture_width);
        EXPECT_EQ(s->texture_height, c.texture_height);
        EXPECT_EQ(s->width, c.width);
        EXPECT_EQ(s->height, c.height);
        EXPECT_FLOAT_EQ(s->u_extent, c.u);
        EXPECT_FLOAT_EQ(s->v_extent, c.v);
        const RenderTarget& target = device_->targets.table[2];
        EXPECT_NE(target.framebuffer, 0u);
        EXPECT_NE(target.depth_renderbuffer, 0u);
        EXPECT_EQ(target.saved_binding, -1);
        EXPECT_EQ(target.width, c.texture_width);
        EXPECT_EQ(target.height, c.texture_height);
        EXPECT_EQ(target.sprite, kSprite);
    }
}

TEST_F(TargetDeviceTest, NewTargetSpriteIsTransparentBlack) {
    create_render_target(*device_, 0, kSprite, 20, 10);
    ImageBuffer image;
    ASSERT_TRUE(read_sprite_pixels(*device_, kSprite, image));
    for (int32_t y = 0; y < 10; y += 9)
        for (int32_t x = 0; x < 20; x += 19) EXPECT_EQ(image.pixel(x, y)[3], 0) << x << "," << y;
}

TEST_F(TargetDeviceTest, OutOfRangeIndicesAndSlotsDoNothing) {
    create_render_target(*device_, 32, kSprite, 20, 10);
    create_render_target(*device_, -1, kSprite, 20, 10);
    create_render_target(*device_, 0, 65536, 20, 10);
    create_render_target(*device_, 0, -1, 20, 10);
    EXPECT_EQ(sprite_slot(*device_, kSprite)->width, 0);
    EXPECT_EQ(device_->targets.table[0].sprite, -1);
    // A target never created is not made current.
    use_render_target(*device_, 0);
    EXPECT_EQ(device_->targets.current, -1);
    use_render_target(*device_, 32);
    EXPECT_EQ(device_->targets.current, -1);
}

TEST_F(TargetDeviceTest, NegativeIndexWithoutTargetOnlyResetsViewport) {
    set_viewport(*device_, 10, 10, 20, 20);
    use_render_target(*device_, -1);
    int32_t x, y, w, h;
    get_viewport(*device_, x, y, w, h);
    EXPECT_EQ(std::vector<int32_t>({x, y, w, h}), std::vector<int32_t>({0, 0, kWidth, kHeight}));
    EXPECT_EQ(device_->targets.current, -1);
}

TEST_F(TargetDeviceTest, SecondBindOfTheSameTargetIsRefusedAndLogged) {
    create_render_target(*device_, 0, kSprite, 20, 10);
    RenderTarget& target = device_->targets.table[0];
    EXPECT_EQ(bind_framebuffer(target), 1);
    EXPECT_EQ(trace_text().find("Trying to rebind"), std::string::npos);
    EXPECT_EQ(bind_framebuffer(target), 0);
    EXPECT_NE(trace_text().find("Trying to rebind the same FBO again. Need to end first\n"),
              std::string::npos);
    unbind_framebuffer(target);
    EXPECT_EQ(target.saved_binding, -1);
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(TargetDeviceTest, UseOfABoundTargetFallsBackToEmulation) {
    create_render_target(*device_, 0, kSprite, 20, 10);
    RenderTarget& target = device_->targets.table[0];
    ASSERT_EQ(bind_framebuffer(target), 1);
    use_render_target(*device_, 0);
    EXPECT_NE(trace_text().find("Trying to rebind the same FBO again"), std::string::npos);
    EXPECT_EQ(target.emulated, 1);
    EXPECT_GT(sprite_slot(*device_, kTargetScreenSaveSlot)->width, 0);
    unbind_framebuffer(target);
    end_render_target(*device_);
    EXPECT_EQ(target.emulated, 0);
    EXPECT_EQ(device_->targets.current, -1);
}

TEST_F(TargetDeviceTest, FramebufferOfNoSizeIsRefusedAndLogged) {
    RenderTarget target;
    EXPECT_EQ(create_framebuffer(target, 0, 5, 0, 1), 0);
    EXPECT_NE(trace_text().find("can't create FBO for neg dims 0x5\n"), std::string::npos);
    EXPECT_EQ(target.framebuffer, 0u);
    EXPECT_EQ(bind_framebuffer(target), 0);
}

// Both ways of drawing into a target must give the same pixels.
class TargetPathTest : public TargetDeviceTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        TargetDeviceTest::SetUp();
        if (emulated()) withhold_framebuffers();
    }
    bool emulated() const { return GetParam(); }

    // Its height equals the window's, so the target's drawing area is where the
    // window area would be whichever size set_viewport is told for the target.
    static constexpr int32_t kTargetWidth = 48, kTargetHeight = kHeight;

    // Green window with a blue square at the top-left, for the emulation to restore.
    void paint_window() {
        draw_rect(0, 0, kWidth, kHeight, kGreen);
        draw_rect(0, 0, 8, 8, kBlue);
    }
    void expect_window_restored() {
        EXPECT_EQ(rgb(3, 3), kB);
        EXPECT_EQ(rgb(20, 5), kG);
        EXPECT_EQ(rgb(40, 40), kG);
        EXPECT_EQ(rgb(kWidth - 1, kHeight - 1), kG);
    }
    // The target's sprite drawn at (x, 0) on a black window.
    void show_sprite(int32_t x) {
        clear();
        draw_sprite(kSprite, x, 0);
    }
};

TEST_P(TargetPathTest, DrawingIntoATargetShowsInItsSprite) {
    create_render_target(*device_, 0, kSprite, kTargetWidth, kTargetHeight);
    EXPECT_EQ(device_->targets.table[0].framebuffer != 0, !emulated());
    paint_window();

    use_render_target(*device_, 0);
    EXPECT_EQ(device_->targets.current, 0);
    draw_rect(0, 0, 24, 32, kRed);
    draw_rect(24, 32, 24, 32, kBlue);
    end_render_target(*device_);
    EXPECT_EQ(device_->targets.current, -1);
    expect_window_restored();

    show_sprite(10);
    EXPECT_EQ(rgb(10, 0), kR);
    EXPECT_EQ(rgb(33, 31), kR);
    EXPECT_EQ(rgb(34, 32), kB);
    EXPECT_EQ(rgb(57, 63), kB);
    // What was not drawn on stays transparent.
    EXPECT_EQ(rgb(45, 10), kBlack);
    EXPECT_EQ(rgb(15, 50), kBlack);
    EXPECT_EQ(rgb(5, 10), kBlack);
    EXPECT_EQ(rgb(60, 10), kBlack);
}

// get_pixel reads the current target, and on the emulated path (the back buffer)
// without asking the driver for a framebuffer attachment that is not there.
TEST_P(TargetPathTest, GetPixelReadsTheCurrentTargetWithoutAnError) {
    create_render_target(*device_, 0, kSprite, kTargetWidth, kTargetHeight);
    paint_window();
    use_render_target(*device_, 0);
    draw_rect(2, 3, 4, 4, kRed);
    draw_rect(30, 40, 4, 4, kBlue);
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_EQ(get_pixel(3, 4), kRed);
    EXPECT_EQ(get_pixel(31, 41), kBlue);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    end_render_target(*device_);
    EXPECT_EQ(get_pixel(3, 3), kBlue);  // the window again, with its blue square
}

TEST_P(TargetPathTest, DrawingContinuesOnTheTargetsContent) {
    create_render_target(*device_, 3, kSprite, kTargetWidth, kTargetHeight);
    paint_window();
    use_render_target(*device_, 3);
    draw_rect(0, 0, 10, 10, kRed);
    use_render_target(*device_, 3);  // ends the first use and starts again
    draw_rect(20, 0, 10, 10, kBlue);
    use_render_target(*device_, -1);
    expect_window_restored();

    show_sprite(0);
    EXPECT_EQ(rgb(5, 5), kR);
    EXPECT_EQ(rgb(25, 5), kB);
    EXPECT_EQ(rgb(15, 5), kBlack);
}

TEST_P(TargetPathTest, SpritesDrawnIntoATargetKeepTheirPlaceAndTurn) {
    ASSERT_TRUE(create_sprite_from_image(*device_, 1, testing_support::quadrant_image(), false));
    create_render_target(*device_, 0, kSprite, kTargetWidth, kTargetHeight);
    use_render_target(*device_, 0);
    draw_sprite(1, 4, 6);
    end_render_target(*device_);
    show_sprite(0);
    EXPECT_EQ(rgb(4 + 4, 6 + 4), kR);
    EXPECT_EQ(rgb(4 + 12, 6 + 4), kG);
    EXPECT_EQ(rgb(4 + 4, 6 + 12), kB);
    EXPECT_EQ(rgb(4 + 12, 6 + 12), (Rgb{255, 255, 255}));
}

INSTANTIATE_TEST_SUITE_P(Paths, TargetPathTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "BackBufferEmulation" : "FramebufferObject";
                         });

}  // namespace
}  // namespace tvk
