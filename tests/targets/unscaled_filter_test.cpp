// Unscaled sprites and animation frames are sampled with the nearest texel even when
// smoothing is on, because linear filtering at texel centres returns the texel
// itself. That shortcut must not change a pixel: each scene here is drawn with it
// and with plain linear filtering and the framebuffers are compared whole — on the
// window, in viewports of odd sizes and offsets, and in render targets on both the
// framebuffer-object path and the back-buffer emulation. Textures are noise, so that
// any blend of neighbouring texels shows.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "runtime/gfx/display_commands.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/gfx/targets/target_commands.h"
#include "targets/target_fixture.h"

namespace tvk {
namespace {

using testing_support::make_image;
using testing_support::Rgba;
using testing_support::TargetDeviceTest;

constexpr int32_t kNoise = 1, kFrames = 2, kTargetSprite = 3, kOddTargetSprite = 4;

ImageBuffer noise_image(int32_t w, int32_t h, uint32_t seed) {
    std::mt19937 random(seed);
    return make_image(w, h, [&random](int32_t, int32_t) {
        const uint32_t r = random();
        return Rgba{static_cast<uint8_t>(r), static_cast<uint8_t>(r >> 8), static_cast<uint8_t>(r >> 16),
                    static_cast<uint8_t>(64 + (r >> 24) % 192)};
    });
}

class UnscaledFilterTest : public TargetDeviceTest {
protected:
    void SetUp() override {
        TargetDeviceTest::SetUp();
        ASSERT_TRUE(create_sprite_from_image(*device_, kNoise, noise_image(13, 11, 1), false));
        ASSERT_TRUE(create_sprite_from_image(*device_, kFrames, noise_image(30, 14, 2), false));
        set_anim_frame_size(kFrames, 6, 7);
    }
    void TearDown() override {
        set_unscaled_nearest(true);
        TargetDeviceTest::TearDown();
    }

    std::vector<uint8_t> draw(bool unscaled_nearest, const std::function<void()>& scene) {
        set_unscaled_nearest(unscaled_nearest);
        set_viewport(0, 0, 0, 0);
        clear(0.2f, 0.2f, 0.25f, 1.0f);
        set_alpha_mode(-1);
        set_smoothing(1);
        scene();
        set_viewport(0, 0, 0, 0);
        return framebuffer();
    }

    void expect_same_pixels(const std::function<void()>& scene) {
        const std::vector<uint8_t> linear = draw(false, scene);
        const std::vector<uint8_t> nearest = draw(true, scene);
        const testing_support::FrameComparison c = testing_support::compare_frames(linear, nearest);
        EXPECT_EQ(c.differing, 0u) << "pixels that differ between nearest and linear sampling";
        EXPECT_GT(c.inked, linear.size() / 4 / 4) << "the scene drew too little to show anything";
    }
};

// Sprites and every frame at positions across and beyond the edges, and a few
// scaled draws in between, which keep linear filtering.
void sprites_everywhere() {
    for (int32_t i = 0; i < 60; ++i) {
        draw_sprite(kNoise, (i * 17) % 110 - 9, (i * 11) % 76 - 6);
        draw_anim_frame(kFrames, i % 10, (i * 23) % 104 - 5, (i * 7) % 70 - 4);
    }
    draw_sprite_stretched(kNoise, 4, 5, 27, 19);
    draw_sprite_zoomed(kNoise, 40, 30, 1.7, 1.3);
    draw_anim_frame_stretched(kFrames, 3, 60, 8, 19, 23);
    draw_sprite(kNoise, 50, 20);
}

TEST_F(UnscaledFilterTest, SamePixelsOnTheWindowAndInViewports) {
    const struct {
        const char* name;
        int32_t x, y, w, h;
    } viewports[] = {
        {"whole window", 0, 0, 0, 0}, {"odd size", 0, 0, 77, 51}, {"offset", 9, 5, 61, 37},
        {"offset, even size", 3, 14, 64, 40},
    };
    for (const auto& v : viewports) {
        SCOPED_TRACE(v.name);
        expect_same_pixels([&v] {
            set_viewport(v.x, v.y, v.w, v.h);
            sprites_everywhere();
        });
    }
}

TEST_F(UnscaledFilterTest, SamePixelsInRenderTargetsOnBothPaths) {
    for (const bool emulated : {false, true}) {
        SCOPED_TRACE(emulated ? "back-buffer emulation" : "framebuffer objects");
        if (emulated) withhold_framebuffers();
        expect_same_pixels([this] {
            for (const auto& [target, sprite, w, h] :
                 {std::tuple{1, kTargetSprite, 64, 32}, std::tuple{2, kOddTargetSprite, 45, 29}}) {
                create_render_target(target, sprite, w, h);
                use_render_target(target);
                clear(0.1f, 0.3f, 0.2f, 1.0f);
                sprites_everywhere();
                end_render_target();
            }
            draw_sprite(kTargetSprite, 3, 2);
            draw_sprite(kOddTargetSprite, 40, 30);
            draw_sprite_zoomed(kOddTargetSprite, 20, 36, 0.8, 0.9);
        });
        free_render_targets(*device_);
    }
}

}  // namespace
}  // namespace tvk
