// Movies drawn into a headless window by the player's OpenGL renderer, from
// clips the test makes with ffmpeg.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "runtime/core/hook_wiring.h"
#include "runtime/core/movie_playback.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/input/input_device.h"
#include "runtime/platform/events.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

class MovieTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::use_headless_video();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The device's trace file goes into the test's own folder.
        if (const char* old = std::getenv(testing_support::kTempFolderVariable)) old_tmpdir_ = old;
        setenv(testing_support::kTempFolderVariable, dir_.path().string().c_str(), 1);
        connect_layer_hooks();
        device_ = &create_graphics_device();
        ASSERT_TRUE(open_window(*device_, nullptr, 160, 120, 0, 60, 0));
        create_input_devices(device_->display.window, false);
    }
    void TearDown() override {
        release_input_devices();
        destroy_graphics_device();
        if (old_tmpdir_.empty()) {
            unsetenv(testing_support::kTempFolderVariable);
        } else {
            setenv(testing_support::kTempFolderVariable, old_tmpdir_.c_str(), 1);
        }
    }
    // A red clip of 64 × 32 pixels (wider than the window's shape, so it is letterboxed).
    std::string make_clip(const char* seconds) {
        const std::string clip = dir_.file("clip.avi");
        const std::string command = "ffmpeg -v error -y -f lavfi -i color=c=red:s=64x32:r=25 -t " +
                                    std::string(seconds) + " -c:v mjpeg -q:v 3 " + clip;
        EXPECT_EQ(std::system(command.c_str()), 0);
        return clip;
    }

    testing_support::TempDir dir_;
    OpenGLRainbows* device_ = nullptr;
    std::string old_tmpdir_;
};

TEST_F(MovieTest, PlaysToTheEndFittedAndCentred) {
#ifdef _WIN32
    GTEST_SKIP() << "movies play through libmpv, which has no Windows build here: the Windows player "
                    "reports that it cannot play, as for a missing file (checked below)";
#endif
    const std::string clip = make_clip("0.6");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(play_movie(RtString(clip.c_str())), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    // 64 × 32 fitted into 160 × 120 is 160 × 80, centred: bars above and below.
    flush_draw_batch();
    glFinish();
    uint8_t centre[4] = {}, top[4] = {};
    glReadPixels(80, 60, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
    glReadPixels(80, 115, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, top);
    EXPECT_GT(centre[0], 200);
    EXPECT_LT(centre[1], 60);
    EXPECT_LT(top[0], 40);
}

TEST_F(MovieTest, AKeyPressEndsTheMovie) {
#ifdef _WIN32
    GTEST_SKIP() << "movies play through libmpv, which has no Windows build here: the Windows player "
                    "reports that it cannot play, as for a missing file (checked below)";
#endif
    // A clip far longer than the bound below: ending well before it can only be the key.
    const std::string clip = make_clip("60");
    std::thread presser([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        platform::Event key;
        key.kind = platform::EventKind::key_down;
        key.key_code = 57;
        platform::post_event(key);
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(play_movie_looped(RtString(clip.c_str())), 0);
    presser.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST_F(MovieTest, MissingOrUnplayableFilesGiveThree) {
    EXPECT_EQ(play_movie(RtString(dir_.file("missing.avi").c_str())), 3);
    EXPECT_EQ(play_movie(RtString(dir_.write("noise.avi", "not a movie").c_str())), 3);
}

}  // namespace
}  // namespace tvk
