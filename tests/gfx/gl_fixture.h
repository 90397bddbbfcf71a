#pragma once
// A real graphics device on a headless OpenGL context, for the sprite and drawing
// tests: pixels are read back from the back buffer before any swap.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/image_buffer.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/sprite_store.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk::testing_support {

using Rgba = std::array<uint8_t, 4>;

class GlDeviceTest : public ::testing::Test {
protected:
    static constexpr int32_t kWidth = 96;
    static constexpr int32_t kHeight = 64;

    void SetUp() override {
        testing_support::use_headless_video();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The device's trace file goes into the test's own folder.
        if (const char* old = std::getenv(testing_support::kTempFolderVariable)) old_tmpdir_ = old;
        setenv(testing_support::kTempFolderVariable, temp_.path().string().c_str(), 1);
        device_ = &create_graphics_device();
        ASSERT_TRUE(open_window(*device_, nullptr, kWidth, kHeight, 0, 60, 0));
        set_clear_colour(*device_, 0);
        reset_2d_state(*device_);
        set_smoothing(0);
    }
    void TearDown() override {
        delete_all_sprites(*device_);
        free_sprite_table(*device_);
        destroy_graphics_device();
        if (old_tmpdir_.empty()) unsetenv(testing_support::kTempFolderVariable);
        else setenv(testing_support::kTempFolderVariable, old_tmpdir_.c_str(), 1);
    }

    // The pixel at logical (x, y), counted from the top-left.
    Rgba pixel(int32_t x, int32_t y) {
        flush_draw_batch();
        glFinish();
        Rgba rgba{};
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }
    // The whole back buffer (RGBA, rows from the bottom), after the gathered draws.
    std::vector<uint8_t> framebuffer() {
        flush_draw_batch();
        glFinish();
        std::vector<uint8_t> pixels(static_cast<size_t>(kWidth * kHeight * 4));
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    // Red, green, blue only.
    std::array<uint8_t, 3> rgb(int32_t x, int32_t y) {
        const Rgba p = pixel(x, y);
        return {p[0], p[1], p[2]};
    }
    void clear(float r = 0, float g = 0, float b = 0, float a = 0) {
        glClearColor(r, g, b, a);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    std::string old_tmpdir_;
    TempDir temp_;
    OpenGLRainbows* device_ = nullptr;
};

// An image filled by a function of (x, y) giving RGBA.
template <typename Fn>
ImageBuffer make_image(int32_t w, int32_t h, Fn fn) {
    ImageBuffer image;
    allocate_image(image, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const Rgba c = fn(x, y);
            std::memcpy(image.pixel(x, y), c.data(), 4);
        }
    return image;
}

// Two framebuffers of one scene drawn two ways, from a screen cleared to grey 0.2
// (51): the pixels where they differ, and the pixels of the first the scene inked.
struct FrameComparison {
    size_t differing = 0;
    size_t inked = 0;
};
inline FrameComparison compare_frames(const std::vector<uint8_t>& first, const std::vector<uint8_t>& second) {
    FrameComparison c;
    for (size_t i = 0; i < first.size(); i += 4) {
        if (std::memcmp(&first[i], &second[i], 4) != 0) ++c.differing;
        if (first[i] != 51 || first[i + 1] != 51) ++c.inked;
    }
    return c;
}

inline constexpr Rgba kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255},
    kWhite{255, 255, 255, 255}, kClear{0, 0, 0, 0};

// 16 by 16: red top-left, green top-right, blue bottom-left, white bottom-right.
inline ImageBuffer quadrant_image(int32_t side = 16) {
    return make_image(side, side, [side](int32_t x, int32_t y) {
        const bool right = x >= side / 2, bottom = y >= side / 2;
        return bottom ? (right ? kWhite : kBlue) : (right ? kGreen : kRed);
    });
}

}  // namespace tvk::testing_support
