// Fullscreen switching needs a display with real modes: these tests run on the X
// display the suite runs under and are skipped without one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/trace_log.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

class FullscreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
#ifdef _WIN32
        // Wine's windows on the same X display.
        setenv("SDL_VIDEODRIVER", "windows", 1);
#else
        setenv("SDL_VIDEODRIVER", "x11", 1);
#endif
        setenv(testing_support::kTempFolderVariable, temp_.path().string().c_str(), 1);
    }
    void TearDown() override {
        destroy_graphics_device();
        setenv(testing_support::kTempFolderVariable, saved_tmpdir_.c_str(), 1);
    }
    std::string trace() {
        std::ifstream in(trace_file_path());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    const std::string saved_tmpdir_ = std::getenv(testing_support::kTempFolderVariable) ? std::getenv(testing_support::kTempFolderVariable) : "/tmp";
    testing_support::TempDir temp_;
};

TEST_F(FullscreenTest, RefusedModeStaysWindowedWithATraceLine) {
    OpenGLRainbows& device = create_graphics_device();
    ASSERT_TRUE(open_window(device, nullptr, 123, 77, 0, 60, 0)) << device.display.failure;
    EXPECT_FALSE(enter_fullscreen(device));
    EXPECT_EQ(is_fullscreen(device), 0);
    EXPECT_EQ(device.display.window_width, 123);
    EXPECT_NE(trace().find("No Fullscreen Mode available\n"), std::string::npos);
}

TEST_F(FullscreenTest, DesktopSizedModeGoesFullscreenAndBack) {
    OpenGLRainbows& device = create_graphics_device();
    ASSERT_TRUE(open_window(device, nullptr, 64, 48, 0, 60, 0)) << device.display.failure;
    int32_t width = 0, height = 0;
    get_desktop_size(device, width, height);
    ASSERT_GT(width, 0);
    EXPECT_EQ(change_screen_mode(device, width, height, 0, 1), 1);
    EXPECT_EQ(is_fullscreen(device), 1);
    EXPECT_EQ(change_screen_mode(device, 64, 48, 0, 0), 1);
    EXPECT_EQ(is_fullscreen(device), 0);
    EXPECT_EQ(trace().find("No Fullscreen Mode available"), std::string::npos);
}

}  // namespace
}  // namespace tvk
