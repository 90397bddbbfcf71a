// Sound slots over the real audio device: SDL's "disk" driver writes the exact
// mixed samples to a file, "dummy" plays in real time without output.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "audio/wave_fixture.h"
#include "runtime/audio/sound_commands.h"
#include "runtime/audio/sound_device.h"
#include "runtime/audio/sound_mixer.h"
#include "runtime/audio/sound_slots.h"
#include "runtime/value/error_state.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

using audio_test::make_wave;
using audio_test::WaveSpec;
using testing_support::TempDir;

void wait_until_silent(int32_t channel) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (sound_playing(channel) == 1 && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

struct Peaks {
    int32_t left = 0;
    int32_t right = 0;
    size_t frames = 0;
};

// Plays one sound on a fresh disk device and returns the loudest sample per side.
Peaks play_to_disk(const TempDir& dir, const WaveSpec& spec, double pan, double volume) {
    const std::string output = dir.file("mixed.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    start_sound(nullptr);
    EXPECT_NE(sound_device()->mixer, nullptr);
    load_sound(RtString(dir.write("effect.wav", make_wave(spec)).c_str()), 1, 1);
    EXPECT_EQ(error_state().code, kErrSuccess);
    const int32_t channel = play_sound(1, pan, volume);
    EXPECT_EQ(channel, 256);
    wait_until_silent(channel);
    // A block or two more, so that the end of the sound is in the file.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    shutdown_sound();
    std::ifstream in(output, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Peaks peaks;
    const auto* samples = reinterpret_cast<const int16_t*>(bytes.data());
    peaks.frames = bytes.size() / 4;
    for (size_t i = 0; i < peaks.frames; ++i) {
        peaks.left = std::max(peaks.left, std::abs(static_cast<int32_t>(samples[2 * i])));
        peaks.right = std::max(peaks.right, std::abs(static_cast<int32_t>(samples[2 * i + 1])));
    }
    return peaks;
}

TEST(SoundOutput, VolumeAndPanShapeTheMixedSamples) {
    struct Case {
        const char* what;
        double pan, volume;
        int32_t left, right;
    };
    const Case cases[] = {
        {"full volume, centred", 0, 1, 10000, 10000},
        {"volume 0.5 is -602, about half", 0, 0.5, 5000, 5000},
        {"volume 0 is silence", 0, 0, 0, 0},
        {"pan -1 is the left side only", -1, 1, 10000, 0},
        {"pan 1 is the right side only", 1, 1, 0, 10000},
        {"volume above 1 is full", 0, 3, 10000, 10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const Peaks peaks = play_to_disk(dir, {.frames = 2205}, c.pan, c.volume);
        EXPECT_GT(peaks.frames, 2205u);
        EXPECT_NEAR(peaks.left, c.left, c.left / 100 + 1);
        EXPECT_NEAR(peaks.right, c.right, c.right / 100 + 1);
    }
}

TEST(SoundOutput, EightBitMonoIsResampledToTheDeviceRate) {
    TempDir dir;
    // 11025 Hz for 0.1 s: 2205 frames at the device's 22050 Hz.
    const Peaks peaks = play_to_disk(dir, {.sample_rate = 11025, .bits = 8, .frames = 1102, .level = 64 << 8}, 0, 1);
    EXPECT_NEAR(peaks.left, 64 << 8, 1);
    EXPECT_NEAR(peaks.right, 64 << 8, 1);
}

TEST(SoundMixer, AddsResampledBuffersWithGainAndClipping) {
    Mixer mixer(22050, 2);
    const MixerFormat mono11k{11025, 1, 16, 2};
    MixerBuffer* b = mixer.create_buffer(mono11k, 8, true);  // 4 frames
    const int16_t ramp[4] = {0, 1000, 2000, 3000};
    ASSERT_TRUE(mixer.fill_buffer(b, 0, reinterpret_cast<const uint8_t*>(ramp), 8));
    MixerBuffer* twin = mixer.duplicate_buffer(b);
    ASSERT_TRUE(mixer.play(b));
    std::vector<int16_t> out(24, 0);
    out[0] = 100;  // what is already in the stream (the music) stays under the effect
    mixer.mix(out.data(), 12);
    // Twice the frames, halfway values interpolated, the last frame held; then the end.
    const int16_t expect_left[12] = {100, 500, 1000, 1500, 2000, 2500, 3000, 3000, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(out[2 * i], expect_left[i]) << i;
        EXPECT_EQ(out[2 * i + 1], i == 0 ? 0 : expect_left[i]) << i;
    }
    uint32_t status = 9;
    ASSERT_TRUE(mixer.status(b, status));
    EXPECT_EQ(status, 0u);
    // The duplicate shares the samples but plays on its own, here at -602 (half).
    ASSERT_TRUE(mixer.set_volume(twin, -602));
    ASSERT_TRUE(mixer.play(twin));
    std::vector<int16_t> half(24, 0);
    half[12] = 32000;
    mixer.mix(half.data(), 12);
    EXPECT_EQ(half[2], 250);
    EXPECT_EQ(half[12], 32767);  // clipped, not wrapped
    EXPECT_FALSE(mixer.set_volume(twin, 1));
    EXPECT_FALSE(mixer.set_pan(twin, 10001));
    EXPECT_EQ(mixer.create_buffer(MixerFormat{22050, 2, 16, 2}, 8, true), nullptr);
}

class SoundSlots : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        start_sound(nullptr);
        ASSERT_NE(sound_device()->mixer, nullptr);
        // Two seconds: every play in these tests is still going when the next one comes.
        long_sound_ = dir_.write("long.wav", make_wave({.frames = 44100}));
    }
    void TearDown() override { shutdown_sound(); }

    TempDir dir_;
    std::string long_sound_;
};

TEST_F(SoundSlots, BuffersRotateAndABusySingleBufferRefuses) {
    load_sound(RtString(long_sound_.c_str()), 5, 1);
    ASSERT_EQ(error_state().code, kErrSuccess);
    EXPECT_EQ(play_sound(5, 0, 1), 5 * 256);
    EXPECT_EQ(play_sound(5, 0, 1), -1);
    EXPECT_EQ(sound_playing(5 * 256), 1);

    load_sound(RtString(long_sound_.c_str()), 6, 2);
    EXPECT_EQ(play_sound(6, 0, 1), 6 * 256);
    EXPECT_EQ(play_sound(6, 0, 1), 6 * 256 + 1);
    // The third play takes buffer 0 over from its start.
    EXPECT_EQ(play_sound(6, 0, 1), 6 * 256);
    EXPECT_EQ(sound_playing(6 * 256), 1);
    EXPECT_EQ(sound_playing(6 * 256 + 1), 1);

    stop_sound(6 * 256 + 255);
    EXPECT_EQ(sound_playing(6 * 256), 0);
    EXPECT_EQ(sound_playing(6 * 256 + 1), 0);
    EXPECT_EQ(sound_playing(5 * 256), 1);
    stop_sound(5 * 256);
    EXPECT_EQ(sound_playing(5 * 256), 0);
    EXPECT_EQ(play_sound(5, 0, 1), 5 * 256);
    stop_all_sounds();
    EXPECT_EQ(sound_playing(5 * 256), 0);
}

TEST_F(SoundSlots, NumbersOutsideTheTablesFailQuietly) {
    load_sound(RtString(long_sound_.c_str()), 4095, 9);  // count clamped to 4
    EXPECT_EQ(error_state().code, kErrSuccess);
    EXPECT_EQ((*sound_device()->slots)[4095].buffer_count, 4);
    EXPECT_EQ(free_sound_slot(), 4094);

    load_sound(RtString(long_sound_.c_str()), 4096, 1);
    EXPECT_EQ(error_state().code, kErrOutOfMemory);
    load_sound(RtString(long_sound_.c_str()), -1, 1);
    EXPECT_EQ(error_state().code, kErrOutOfMemory);
    clear_error();
    EXPECT_EQ(play_sound(4096, 0, 1), 0);
    EXPECT_EQ(error_state().code, kErrOutOfMemory);
    clear_error();
    EXPECT_EQ(sound_playing(-1), 0);
    EXPECT_EQ(error_state().code, kErrOutOfMemory);
    clear_error();
    EXPECT_EQ(sound_playing(0x100000), 0);
    EXPECT_EQ(error_state().code, kErrOutOfMemory);
    EXPECT_EQ(sound_playing(4095 * 256 + 4), 0);  // past the slot's four buffers
    EXPECT_EQ(play_sound(7, 0, 1), -1);            // empty slot
    stop_sound(-5);
    stop_sound(4095 * 256 + 200);
    EXPECT_EQ(play_sound(1e12, 0, 1), 0);
}

TEST_F(SoundSlots, FailedLoadsEmptyTheSlot) {
    load_sound(RtString(long_sound_.c_str()), 3, 1);
    ASSERT_EQ((*sound_device()->slots)[3].buffer_count, 1);
    const std::string bad = dir_.write("bad.wav", "RIFF\x10\0\0\0WAVEfmt ");
    load_sound(RtString(bad.c_str()), 3, 1);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_EQ((*sound_device()->slots)[3].buffer_count, 0);
    load_sound(RtString(dir_.file("missing.wav").c_str()), 3, 1);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_EQ(play_sound(3, 0, 1), -1);
}

TEST(SoundWithoutDevice, EveryLoadIsNoSuchFile) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    start_sound(nullptr);
    EXPECT_EQ(sound_device()->mixer, nullptr);
    TempDir dir;
    load_sound(RtString(dir.write("a.wav", make_wave({})).c_str()), 1, 1);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_EQ(play_sound(1, 0, 1), -1);
    EXPECT_EQ(sound_playing(256), 0);
    shutdown_sound();
}

TEST(SoundVolumeLaw, AttenuationInHundredthsOfADecibel) {
    EXPECT_EQ(attenuation_of_volume(100), 0);
    EXPECT_EQ(attenuation_of_volume(50), -602);
    EXPECT_EQ(attenuation_of_volume(10), -2000);
    EXPECT_EQ(attenuation_of_volume(1), -4000);
    EXPECT_EQ(attenuation_of_volume(0), -10000);
}

}  // namespace
}  // namespace tvk

namespace tvk {
namespace {

// A program that brought the sound device up itself and ends without the runtime's
// shutdown must still exit cleanly: the audio thread is stopped before the static
// device record and its buffers are destroyed.
TEST_F(SoundSlots, ExitWithoutShutdownWhileASoundPlaysIsClean) {
    load_sound(RtString(long_sound_.c_str()), 2, 1);
    EXPECT_EXIT(
        {
            play_sound(2, 0, 1);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tvk
