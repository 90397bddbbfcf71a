// Gathering draws into one GL call must not change a single pixel: every scene here
// is drawn once with the batch and once with each draw flushed on its own, and the
// two framebuffers are compared whole. Scenes mix textures, blend modes, smoothing,
// text, primitives and the operations that must see or change what was drawn
// before them (reading a pixel, replacing or deleting a sprite, grabbing the screen,
// drawing into a render target).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "gl_fixture.h"
#include "runtime/gfx/capture_commands.h"
#include "runtime/gfx/display_commands.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/builtin_font.h"
#include "runtime/gfx/font_table.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/screen_capture.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/gfx/targets/render_target.h"
#include "runtime/gfx/targets/target_commands.h"
#include "runtime/gfx/text_commands.h"

namespace tvk {
namespace {

using testing_support::GlDeviceTest;
using testing_support::make_image;
using testing_support::Rgba;

constexpr int32_t kSoft = 1, kStripes = 2, kAnim = 3, kGrabbed = 4, kTargetSprite = 5;

// Half-transparent gradients, so that blending makes the order of draws visible.
ImageBuffer soft_image() {
    return make_image(16, 16, [](int32_t x, int32_t y) {
        return Rgba{static_cast<uint8_t>(x * 16), static_cast<uint8_t>(255 - y * 12), 90,
                    static_cast<uint8_t>(60 + x * 8 + y * 3)};
    });
}
ImageBuffer stripes_image(uint8_t shade = 255) {
    return make_image(12, 20, [shade](int32_t x, int32_t y) {
        return (x + y / 3) % 2 ? Rgba{shade, 40, 10, 200} : Rgba{20, 60, shade, 140};
    });
}
// Four 8 by 8 frames in a row, each its own colour.
ImageBuffer anim_image() {
    return make_image(32, 8, [](int32_t x, int32_t y) {
        const auto f = static_cast<uint8_t>(x / 8);
        return Rgba{static_cast<uint8_t>(60 * f + 20), static_cast<uint8_t>(200 - 40 * f),
                    static_cast<uint8_t>(x * 7 + y * 5), 230};
    });
}

class DrawBatchTest : public GlDeviceTest {
protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        ASSERT_TRUE(create_sprite_from_image(*device_, kSoft, soft_image(), false));
        ASSERT_TRUE(create_sprite_from_image(*device_, kStripes, stripes_image(), false));
        ASSERT_TRUE(create_sprite_from_image(*device_, kAnim, anim_image(), false));
        set_anim_frame_size(kAnim, 8, 8);
        install_builtin_font(*device_, 0);
        set_font(0);
    }
    void TearDown() override {
        set_draw_batching(true);
        GlDeviceTest::TearDown();
    }

    // The scene drawn with batching on or off, from a grey screen and the same
    // sprites each time.
    std::vector<uint8_t> draw(bool batched, const std::function<void()>& scene) {
        restore_sprites();
        set_draw_batching(batched);
        clear(0.2f, 0.2f, 0.25f, 1.0f);
        set_alpha_mode(-1);
        set_smoothing(0);
        scene();
        return framebuffer();
    }
    // Cases replace or delete sprites: each drawing starts from the same ones.
    void restore_sprites() {
        ASSERT_TRUE(create_sprite_from_image(*device_, kSoft, soft_image(), false));
        ASSERT_TRUE(create_sprite_from_image(*device_, kStripes, stripes_image(), false));
    }

    void expect_same_pixels(const std::function<void()>& scene) {
        const std::vector<uint8_t> one_by_one = draw(false, scene);
        const std::vector<uint8_t> batched = draw(true, scene);
        const testing_support::FrameComparison c = testing_support::compare_frames(one_by_one, batched);
        EXPECT_EQ(c.differing, 0u) << "pixels that differ between batched and one-by-one drawing";
        EXPECT_GT(c.inked, batched.size() / 4 / 8) << "the scene drew too little to show anything";
    }
};

// Sprites of two textures interleaved and in runs, every kind of textured draw,
// text in both spacings, smoothing and blend changes, primitives in between.
void busy_scene() {
    for (int32_t i = 0; i < 40; ++i) draw_sprite(i % 5 == 4 ? kStripes : kSoft, (i * 13) % 88 - 4, (i * 7) % 58 - 3);
    draw_sprite_stretched(kSoft, 3, 4, 41, 27);
    draw_sprite_stretched(kSoft, 50, 9, 7, 9);
    draw_sprite_zoomed(kStripes, 30, 28, 1.5, 0.75);
    draw_sprite_zoomed(kStripes, 62, 30, -1.0, 1.0);
    set_smoothing(1);
    draw_sprite_stretched(kStripes, 10, 20, 33, 17);
    draw_sprite(kSoft, 60, 40);
    set_smoothing(0);
    for (int32_t f = 0; f < 4; ++f) draw_anim_frame(kAnim, f, 5 + f * 9, 50);
    draw_anim_frame_stretched(kAnim, 1, 40, 2, 30, 12);
    draw_anim_frame_rotozoom(kAnim, 2, 70, 10, 33.0, 1.7);
    draw_anim_frame_rotozoom(kAnim, 3, 20, 40, -120.0, 2.2);
    print_text(RtString("Batch me"), 2, 2, 1);
    print_text(RtString("AB"), 50, 40, 0);
    print_text(RtString("x y"), 64.4, 20.6, 1);
    draw_sprite(kSoft, 44, 30);
    draw_sprite_rotozoom(kSoft, 20, 20, 45.0, 1.3);
    draw_sprite(kSoft, 46, 31);
    set_alpha_mode(0.6);
    for (int32_t i = 0; i < 12; ++i) draw_sprite(kStripes, 70 - i * 5, i * 4);
    draw_rect(10, 10, 20, 6, 0x3050F0);
    set_pixel(5, 5, 0xFFFFFF);
    draw_sprite(kStripes, 8, 8);
    draw_line(0, 63, 95, 0, 0x00FF00);
    set_alpha_mode(-0.5);
    for (int32_t i = 0; i < 12; ++i) draw_sprite(kSoft, i * 7, 60 - i * 5);
    set_alpha_mode(0);
    draw_sprite(kStripes, 84, 44);
}

TEST_F(DrawBatchTest, BusySceneHasTheSamePixelsBatchedAndOneByOne) { expect_same_pixels(busy_scene); }

// Each interruption comes after draws that the batch still holds, and must act on
// the screen as it would be had they been drawn already.
TEST_F(DrawBatchTest, OperationsInTheMiddleOfABatchSeeAndChangeWhatWasDrawnBefore) {
    const struct {
        const char* name;
        std::function<void()> interruption;
    } cases[] = {
        {"slot replaced", [this] { create_sprite_from_image(*device_, kSoft, stripes_image(90), false); }},
        {"slot deleted", [this] { delete_sprite(*device_, kStripes); }},
        {"screen grabbed",
         [] {
             grab_sprite(kGrabbed, 0, 0, 40, 30);
             draw_sprite(kGrabbed, 50, 30);
         }},
        {"render target",
         [] {
             create_render_target(1, kTargetSprite, 32, 32);
             use_render_target(1);
             draw_sprite(kSoft, 2, 2);
             draw_sprite(kStripes, 10, 6);
             end_render_target();
             draw_sprite(kTargetSprite, 56, 20);
         }},
        {"blend switched", [] { set_alpha_mode(0.8); }},
        {"alpha test", [] { set_alpha_test(0.5); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expect_same_pixels([&c] {
            for (int32_t i = 0; i < 20; ++i) draw_sprite(i % 2 ? kSoft : kStripes, i * 4, i * 2);
            for (int32_t i = 0; i < 10; ++i) draw_sprite(kSoft, 80 - i * 6, 40 - i);
            c.interruption();
            for (int32_t i = 0; i < 10; ++i) draw_sprite(kSoft, i * 8, 30 + i);
            draw_sprite(kStripes, 30, 10);
            set_alpha_test(1.0);
        });
    }
}

TEST_F(DrawBatchTest, GetPixelSeesTheSpritesDrawnJustBefore) {
    set_alpha_mode(0);
    ASSERT_TRUE(create_sprite_from_image(*device_, kGrabbed, testing_support::quadrant_image(), false));
    clear();
    draw_sprite(kGrabbed, 10, 10);
    draw_sprite(kGrabbed, 30, 10);
    EXPECT_EQ(get_pixel(12, 12), 0x0000FF);   // red, read as blue-green-red bytes
    EXPECT_EQ(get_pixel(44, 24), 0xFFFFFF);
}

TEST_F(DrawBatchTest, ConsecutiveDrawsOfOneTextureShareOneCall) {
    for (int32_t i = 0; i < 100; ++i) draw_sprite(kSoft, i % 80, i % 50);
    EXPECT_EQ(device_->draw_batch.vertices.size(), 400u);
    print_text(RtString("Hi"), 0, 0, 1);   // another texture: the sprites go first
    EXPECT_EQ(device_->draw_batch.vertices.size(), 8u);
    for (int32_t i = 0; i < 3; ++i) print_text(RtString("Hey"), 0, i * 10.0, 1);
    EXPECT_EQ(device_->draw_batch.firsts.size(), 4u);
    int32_t w = 0, h = 0;
    get_screen_size(w, h);   // any command draws what is gathered first
    EXPECT_TRUE(device_->draw_batch.empty());
}

}  // namespace
}  // namespace tvk
