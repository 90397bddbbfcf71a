// Music on the dummy audio driver (which plays in real time) with the runtime
// clock driven by hand.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/wave_fixture.h"
#include "runtime/audio/music.h"
#include "runtime/audio/sound_device.h"
#include "runtime/platform/manual_clock.h"
#include "runtime/platform/music_player.h"
#include "runtime/value/clock.h"
#include "runtime/value/error_state.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

using audio_test::make_wave;

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        platform::set_clock_backend(&clock_);
        clock_init();
        clock_ms();  // the first reading is time 0
        start_sound(nullptr);
        ASSERT_NE(sound_device()->mixer, nullptr);
        // 200 ms of music.
        piece_ = dir_.write("music.wav", make_wave({.sample_rate = 22050, .frames = 4410}));
    }
    void TearDown() override {
        stop_music();
        shutdown_sound();
        platform::set_clock_backend(nullptr);
    }
    static void wait_real_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    platform::ManualClock clock_;
    testing_support::TempDir dir_;
    std::string piece_;
};

TEST_F(MusicTest, LoopedShortPieceRestartsEveryHalfSecondOfTheClock) {
    play_music(RtString(piece_.c_str()), 1);
    ASSERT_EQ(error_state().code, kErrSuccess);
    ASSERT_NE(music_state().music, nullptr);
    EXPECT_EQ(music_state().restart_time, 500);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    wait_real_ms(400);
    EXPECT_EQ(Mix_PlayingMusic(), 0);  // the media has ended ...
    EXPECT_EQ(music_playing(), 1);     // ... but looping music counts as playing
    clock_.advance_ms(499);
    service_looped_music();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    clock_.advance_ms(1);
    service_looped_music();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(music_state().restart_time, 1000);
}

TEST_F(MusicTest, PausingMovesTheNextRestartByThePausedTime) {
    play_music(RtString(piece_.c_str()), 1);
    clock_.advance_ms(200);
    pause_music(1);
    EXPECT_EQ(music_state().restart_time, -500);
    clock_.advance_ms(3000);
    service_looped_music();  // paused music never restarts
    EXPECT_EQ(music_state().restart_time, -500);
    pause_music(0);
    EXPECT_EQ(music_state().restart_time, 3500);
}

TEST_F(MusicTest, VolumeIsSentOnlyWhenItChanges) {
    play_music(RtString(piece_.c_str()), 0);
    EXPECT_EQ(music_state().restart_time, 0);
    EXPECT_EQ(platform::music_piece_volume(), 1000);
    set_music_volume(0.5);
    EXPECT_EQ(platform::music_piece_volume(), 500);
    platform::set_music_piece_volume(1000);
    set_music_volume(0.5);  // the same value again: nothing is sent
    EXPECT_EQ(platform::music_piece_volume(), 1000);
    EXPECT_EQ(music_playing(), 1);
    wait_real_ms(400);
    EXPECT_EQ(music_playing(), 0);  // unlooped music ends with its media
}

TEST_F(MusicTest, MissingFileLeavesNoMusic) {
    play_music(RtString(piece_.c_str()), 1);
    play_music(RtString(dir_.file("missing.ogg").c_str()), 1);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_EQ(music_state().music, nullptr);
    EXPECT_EQ(music_playing(), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(stop_music(), 0);
    pause_music(1);
    set_music_volume(0.25);  // stored even without music
    EXPECT_EQ(music_state().volume, 0.25);
    // A file the player cannot open: no music, and nothing to report.
    play_music(RtString(dir_.write("noise.ogg", "not music").c_str()), 1);
    EXPECT_EQ(error_state().code, kErrSuccess);
    EXPECT_EQ(music_state().music, nullptr);
    EXPECT_EQ(music_playing(), 0);
}

}  // namespace
}  // namespace tvk
