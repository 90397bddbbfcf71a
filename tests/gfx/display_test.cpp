// The graphics device on a real OpenGL context without a display server: window
// creation and its trace, the viewport mapping in all four orientations (checked
// on pixels read back), screen sizes, clearing and the capability cache.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/gl_state_cache.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/trace_log.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

using testing_support::TempDir;

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::use_headless_video();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv(testing_support::kTempFolderVariable, temp_.path().string().c_str(), 1);
        device_ = &create_graphics_device();
        ASSERT_TRUE(open_window(*device_, nullptr, kWidth, kHeight, 0, 60, 0)) << device_->display.failure;
        set_clear_colour(*device_, 0);
    }
    void TearDown() override {
        destroy_graphics_device();
        setenv(testing_support::kTempFolderVariable, saved_tmpdir_.c_str(), 1);
    }

    // Red where the logical rectangle lands, black elsewhere.
    void fill_logical(int32_t x, int32_t y, int32_t w, int32_t h) {
        gl_disable(*device_, GlCap::texture_2d);
        glColor4f(1, 0, 0, 1);
        glBegin(GL_QUADS);
        glVertex2i(x, y);
        glVertex2i(x + w, y);
        glVertex2i(x + w, y + h);
        glVertex2i(x, y + h);
        glEnd();
        flush_draw_batch();
        glFinish();
    }

    // Whether the window pixel (x, y), counted from the window's top-left, is red.
    bool red_at(int32_t x, int32_t y) {
        unsigned char rgba[4] = {};
        glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return rgba[0] > 200 && rgba[1] < 50 && rgba[2] < 50;
    }

    // The trace file goes to this test's own folder; the next test's folder is made
    // where the suite's own temporary folder is.
    const std::string saved_tmpdir_ = std::getenv(testing_support::kTempFolderVariable) ? std::getenv(testing_support::kTempFolderVariable) : "/tmp";
    TempDir temp_;
    OpenGLRainbows* device_ = nullptr;
};

TEST_F(DisplayTest, OpenWindowTracesItsStepsInOrder) {
    std::ifstream in(trace_file_path());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("*** OpenGL Software", 0) == 0 || line.rfind("Texture size limit: ", 0) == 0) {
            line = line.substr(0, 20);
        }
        lines.push_back(line);
    }
    const std::vector<std::string> expected = {
        "WIN32 init video", "*** OpenGL Software ", "get accurate timer - 1st call",
        "flip - 1st call",  "BGRA ext supported",  "Texture size limit: ",
        "init fbo",         "2D VP",               "OGRB init [OK]"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(device_->display.bgra_supported, 1);
    EXPECT_TRUE(gl_extensions().framebuffers_available());
    EXPECT_NE(gl_extensions().glActiveTextureARB, nullptr);
    EXPECT_TRUE(is_software_renderer(gl_renderer_text(*device_)));
}

TEST_F(DisplayTest, OpenWindowSetsTheDocumentedInitialState) {
    EXPECT_EQ(device_->display.window_width, kWidth);
    EXPECT_EQ(device_->display.window_height, kHeight);
    EXPECT_NEAR(device_->pacing.frame_interval, 1000.0 / 60.0, 1e-12);
    EXPECT_EQ(device_->drawing.bound_sprite, -1);
    EXPECT_EQ(device_->targets.current, -1);
    EXPECT_FLOAT_EQ(device_->drawing.draw_alpha, 1.0f);
    EXPECT_FLOAT_EQ(device_->drawing.alpha_test_reference, 0.05f);
    EXPECT_EQ(device_->drawing.transparency_colour, 0x8000FFu);
    int32_t x, y, w, h;
    get_viewport(*device_, x, y, w, h);
    EXPECT_EQ((std::vector<int32_t>{x, y, w, h}), (std::vector<int32_t>{0, 0, kWidth, kHeight}));
    EXPECT_EQ(gl_state(*device_, GlCap::alpha_test), 1);
    EXPECT_EQ(gl_state(*device_, GlCap::blend), 0);
    EXPECT_EQ(gl_state(*device_, GlCap::depth_test), 0);
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

// Each orientation turns the logical screen: its top-left corner lands in the
// window's top-left (0), top-right (1), bottom-right (2) or bottom-left (3) corner,
// and a rectangle along the logical top edge follows the turned edge.
TEST_F(DisplayTest, FourOrientationsTurnTheLogicalScreen) {
    struct Case {
        int32_t orientation;
        int32_t logical_w, logical_h;
        int32_t corner_x, corner_y;    // window pixel of logical (1, 1)
        int32_t far_x, far_y;          // window pixel of logical (30, 1): along the top edge
    };
    const Case cases[] = {
        {0, kWidth, kHeight, 1, 1, 30, 1},
        {1, kHeight, kWidth, kWidth - 2, 1, kWidth - 2, 30},
        {2, kWidth, kHeight, kWidth - 2, kHeight - 2, kWidth - 31, kHeight - 2},
        {3, kHeight, kWidth, 1, kHeight - 2, 1, kHeight - 31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("orientation " + std::to_string(c.orientation));
        set_orientation(*device_, c.orientation);
        int32_t w = 0, h = 0;
        get_screen_size(*device_, w, h);
        EXPECT_EQ(w, c.logical_w);
        EXPECT_EQ(h, c.logical_h);
        glClear(GL_COLOR_BUFFER_BIT);
        fill_logical(0, 0, 31, 3);  // the top edge strip from logical x 0 to 30
        EXPECT_TRUE(red_at(c.corner_x, c.corner_y));
        EXPECT_TRUE(red_at(c.far_x, c.far_y));
        // The logical bottom-right corner stays dark.
        glClear(GL_COLOR_BUFFER_BIT);
        fill_logical(0, 0, 4, 4);
        EXPECT_TRUE(red_at(c.corner_x, c.corner_y));
        EXPECT_FALSE(red_at(kWidth - 1 - c.corner_x, kHeight - 1 - c.corner_y));
    }
    set_orientation(*device_, 7);
    EXPECT_EQ(device_->screen.orientation, 3);
    set_orientation(*device_, -2);
    EXPECT_EQ(device_->screen.orientation, 0);
}

// A viewport maps logical (0, 0) to its own top-left corner, at one window pixel
// per unit, in every orientation.
TEST_F(DisplayTest, ViewportMapsLogicalOriginToItsCorner) {
    struct Case {
        int32_t orientation;
        int32_t inside_x, inside_y;    // window pixel of logical (10 + 1, 5 + 1)
        int32_t outside_x, outside_y;  // window pixel of logical (10 - 1, 5 - 1)
    };
    const Case cases[] = {
        {0, 11, 6, 9, 4},
        {1, kWidth - 1 - 6, 11, kWidth - 1 - 4, 9},
        {2, kWidth - 1 - 11, kHeight - 1 - 6, kWidth - 1 - 9, kHeight - 1 - 4},
        {3, 6, kHeight - 1 - 11, 4, kHeight - 1 - 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("orientation " + std::to_string(c.orientation));
        set_orientation(*device_, c.orientation);
        glClear(GL_COLOR_BUFFER_BIT);
        set_viewport(*device_, 10, 5, 20, 12);
        int32_t x, y, w, h;
        get_viewport(*device_, x, y, w, h);
        EXPECT_EQ((std::vector<int32_t>{x, y, w, h}), (std::vector<int32_t>{10, 5, 20, 12}));
        // Drawing beyond the viewport is cut off at its edges.
        fill_logical(-5, -5, 100, 100);
        EXPECT_TRUE(red_at(c.inside_x, c.inside_y));
        EXPECT_FALSE(red_at(c.outside_x, c.outside_y));
        set_viewport(*device_, 0, 0, 0, 0);
    }
}

TEST_F(DisplayTest, ZeroSizedViewportMeansTheWholeScreen) {
    set_orientation(*device_, 1);
    set_viewport(*device_, 3, 4, 0, 9);
    int32_t x, y, w, h;
    get_viewport(*device_, x, y, w, h);
    EXPECT_EQ((std::vector<int32_t>{x, y, w, h}), (std::vector<int32_t>{0, 0, kHeight, kWidth}));
}

TEST_F(DisplayTest, ClearColourAndPresentClearTheNextFrame) {
    set_clear_colour(*device_, 0x0000FF);  // red
    EXPECT_TRUE(red_at(5, 5));
    set_clear_colour(*device_, 0);
    EXPECT_FALSE(red_at(5, 5));
    set_clear_colour(*device_, -1);
    EXPECT_EQ(device_->clearing.clear_enabled, 0);
    set_clear_colour(*device_, 0x0000FF);
    EXPECT_EQ(device_->clearing.clear_enabled, 1);
    device_->pacing.next_frame_time = 0;  // no waiting
    EXPECT_EQ(present_frame(*device_, nullptr), 1);
    // The frame after presenting starts cleared to the clear colour.
    EXPECT_TRUE(red_at(kWidth / 2, kHeight / 2));
}

TEST_F(DisplayTest, FrameRateSetsTheInterval) {
    set_frame_rate(*device_, 50);
    EXPECT_DOUBLE_EQ(device_->pacing.frame_interval, 20.0);
    set_frame_rate(*device_, 0);
    EXPECT_DOUBLE_EQ(device_->pacing.frame_interval, 2.0);
    set_frame_rate(*device_, -5);
    EXPECT_DOUBLE_EQ(device_->pacing.frame_interval, 2.0);
}

TEST_F(DisplayTest, StateCacheSwitchesOnlyOnChangeAndForgetsOnReset) {
    gl_enable(*device_, GlCap::blend);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    // Switched behind the cache's back: the cache believes it is still on, so a
    // second switch on is not issued ...
    glDisable(GL_BLEND);
    gl_enable(*device_, GlCap::blend);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    // ... until the cache forgets, after which every switch is issued again.
    gl_state_cache_forget(*device_);
    EXPECT_EQ(gl_state(*device_, GlCap::blend), kGlStateUnknown);
    gl_enable(*device_, GlCap::blend);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    reset_2d_state(*device_);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(gl_state(*device_, GlCap::blend), 0);
}

// Multisampling is asked for by halving the samples until the driver offers a
// surface; without any, the plain window stays. Either way the window opens.
TEST_F(DisplayTest, MultisampleRequestStillOpensAWindow) {
    destroy_graphics_device();
    device_ = &create_graphics_device();
    ASSERT_TRUE(open_window(*device_, nullptr, kWidth, kHeight, 0, 60, 64)) << device_->display.failure;
    EXPECT_EQ(device_->display.multisample_request, 0);
    EXPECT_NE(device_->display.window, nullptr);
    set_clear_colour(*device_, 0x0000FF);
    EXPECT_TRUE(red_at(kWidth / 2, kHeight / 2));
}

// The window has a depth and stencil buffer only when the program asks for one: the
// runtime never draws with them, and without them a software renderer takes its
// faster 2D path. Asked for, they are the 24 and 8 bits programs drawing with
// OpenGL directly expect, with or without multisampling.
TEST_F(DisplayTest, DepthAndStencilBufferOnlyWhenAsked) {
    struct Case { uint8_t ask; int32_t samples; GLint depth, stencil; };
    for (const Case c : {Case{0, 0, 0, 0}, Case{1, 0, 24, 8}, Case{1, 4, 24, 8}}) {
        destroy_graphics_device();
        device_ = &create_graphics_device();
        device_->display.depth_stencil_buffer = c.ask;
        ASSERT_TRUE(open_window(*device_, nullptr, kWidth, kHeight, 0, 60, c.samples)) << device_->display.failure;
        GLint depth = -1, stencil = -1;
        glGetIntegerv(GL_DEPTH_BITS, &depth);
        glGetIntegerv(GL_STENCIL_BITS, &stencil);
        EXPECT_EQ(depth, c.depth) << "asked " << int(c.ask) << ", samples " << c.samples;
        EXPECT_EQ(stencil, c.stencil) << "asked " << int(c.ask) << ", samples " << c.samples;
    }
}

TEST(ExtensionList, NameCountsOnlyAsAWholeWord) {
    EXPECT_TRUE(extension_listed("WGL_ARB_multisample WGL_EXT_x", "WGL_ARB_multisample"));
    EXPECT_TRUE(extension_listed("A WGL_ARB_multisample", "WGL_ARB_multisample"));
    EXPECT_FALSE(extension_listed("WGL_ARB_multisample_x", "WGL_ARB_multisample"));
    EXPECT_FALSE(extension_listed("XWGL_ARB_multisample WGL_ARB_multisample2", "WGL_ARB_multisample"));
    EXPECT_TRUE(extension_listed("WGL_ARB_multisample_x WGL_ARB_multisample", "WGL_ARB_multisample"));
    EXPECT_FALSE(extension_listed("", "WGL_ARB_multisample"));
}

TEST(SoftwareRenderer, KnownProcessorRenderersCount) {
    EXPECT_TRUE(is_software_renderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(is_software_renderer("softpipe"));
    EXPECT_TRUE(is_software_renderer("Software Rasterizer swrast"));
    EXPECT_FALSE(is_software_renderer("AMD Radeon RX 6600 (radeonsi, navi23)"));
}

}  // namespace
}  // namespace tvk
