// How render targets and shader programs meet the frame: presenting a frame ends the
// current target, the frame flip switches shader programs off, and while a target is
// current the logical screen is the target's sprite.
#include <gtest/gtest.h>

#include "runtime/core/frame_flip.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/gfx/targets/shader_commands.h"
#include "targets/target_fixture.h"

namespace tvk {
namespace {

using testing_support::TargetDeviceTest;
using Rgb = std::array<uint8_t, 3>;

constexpr int32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
constexpr Rgb kR{255, 0, 0}, kG{0, 255, 0}, kB{0, 0, 255}, kBlack{0, 0, 0};
constexpr int32_t kSprite = 9;

class FrameEndTest : public TargetDeviceTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        TargetDeviceTest::SetUp();
        if (GetParam()) withhold_framebuffers();
        clear();
    }
};

TEST_P(FrameEndTest, TargetSmallerThanTheWindowIsTheLogicalScreen) {
    create_render_target(*device_, 1, kSprite, 40, 30);
    draw_rect(0, 0, kWidth, kHeight, kGreen);
    use_render_target(*device_, 1);
    int32_t w = 0, h = 0;
    get_screen_size(*device_, w, h);
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 30);
    draw_rect(0, 0, 40, 30, kRed);       // the whole sprite
    draw_rect(35, 25, 100, 100, kBlue);  // clipped at the sprite's corner
    end_render_target(*device_);
    EXPECT_EQ(rgb(kWidth - 1, kHeight - 1), kG);
    EXPECT_EQ(rgb(0, 0), kG);

    clear();
    draw_sprite(kSprite, 0, 0);
    EXPECT_EQ(rgb(0, 0), kR);
    EXPECT_EQ(rgb(34, 24), kR);
    EXPECT_EQ(rgb(39, 29), kB);
    EXPECT_EQ(rgb(40, 29), kBlack);
    EXPECT_EQ(rgb(39, 30), kBlack);
}

TEST_P(FrameEndTest, PresentingAFrameEndsTheTarget) {
    create_render_target(*device_, 0, kSprite, 40, 30);
    use_render_target(*device_, 0);
    draw_rect(0, 0, 40, 30, kRed);
    ASSERT_EQ(present_frame(*device_, nullptr), 1);
    EXPECT_EQ(device_->targets.current, -1);
    EXPECT_EQ(device_->targets.table[0].saved_binding, -1);
    EXPECT_EQ(device_->targets.table[0].emulated, 0);

    clear();
    draw_sprite(kSprite, 10, 10);
    EXPECT_EQ(rgb(12, 12), kR);
    EXPECT_EQ(rgb(49, 39), kR);
    EXPECT_EQ(rgb(5, 5), kBlack);
}

TEST_P(FrameEndTest, TheFrameFlipSwitchesShadersOff) {
    const std::string red =
        temp_.write("red.frag", "void main() { gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0); }\n");
    ASSERT_EQ(load_shader(0, "", red.c_str()), 1);
    use_shader(0);
    draw_rect(0, 0, 10, 10, kBlue);
    EXPECT_EQ(rgb(5, 5), kR);
    flip_screen();
    EXPECT_EQ(device_->shaders.current, -1);
    draw_rect(0, 0, 10, 10, kBlue);
    EXPECT_EQ(rgb(5, 5), kB);
}

INSTANTIATE_TEST_SUITE_P(Paths, FrameEndTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "BackBufferEmulation" : "FramebufferObject";
                         });

}  // namespace
}  // namespace tvk
