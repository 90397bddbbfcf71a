#include "runtime/audio/wave_loader.h"

#include <gtest/gtest.h>

#include "audio/wave_fixture.h"

namespace tvk {
namespace {

using audio_test::make_wave;
using audio_test::WaveSpec;

bool parse(const std::string& bytes, WaveFile& wave) {
    return parse_wave(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), wave);
}

TEST(WaveLoader, LoadsFilesInTheirOwnFormats) {
    struct Case {
        const char* what;
        WaveSpec spec;
        int16_t channels, bits, align;
    };
    const Case cases[] = {
        {"mono 8-bit 11025 Hz", {.channels = 1, .sample_rate = 11025, .bits = 8, .frames = 100}, 1, 8, 1},
        {"stereo 16-bit 44100 Hz", {.channels = 2, .sample_rate = 44100, .bits = 16, .frames = 100}, 2, 16, 4},
        {"18-byte fmt chunk", {.frames = 100, .fmt_extra = 2}, 1, 16, 2},
        {"chunk ahead of fmt", {.frames = 100, .chunk_before_fmt = true}, 1, 16, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WaveFile wave;
        ASSERT_TRUE(parse(make_wave(c.spec), wave));
        EXPECT_EQ(wave.format.sample_rate, static_cast<int32_t>(c.spec.sample_rate));
        EXPECT_EQ(wave.format.channels, c.channels);
        EXPECT_EQ(wave.format.bits_per_sample, c.bits);
        EXPECT_EQ(wave.format.block_align, c.align);
        EXPECT_EQ(wave.data.size(), 100u * static_cast<size_t>(c.align));
    }
}

TEST(WaveLoader, RefusesBrokenAndUnplayableFiles) {
    const std::string good = make_wave({.frames = 100});
    std::string not_riff = good;
    not_riff[0] = 'X';
    std::string not_wave = good;
    not_wave[8] = 'X';
    std::string no_data = good.substr(0, 36);  // headers up to the end of "fmt "
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"not RIFF", not_riff},
        {"not WAVE", not_wave},
        {"too short for a header", good.substr(0, 10)},
        {"no data chunk", no_data},
        {"data cut short", good.substr(0, good.size() - 10)},
        {"data length past the end", make_wave({.frames = 100, .data_length_bias = 1000})},
        {"huge data length", make_wave({.frames = 100, .data_length_bias = 0x7FFFFF00})},
        {"float samples", make_wave({.format_tag = 3, .bits = 16, .frames = 100})},
        {"24-bit samples", make_wave({.bits = 24, .frames = 100})},
        {"six channels", make_wave({.channels = 6, .frames = 100})},
        {"no samples", make_wave({.frames = 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WaveFile wave;
        EXPECT_FALSE(parse(c.bytes, wave));
    }
    // Every cut of a good file fails cleanly rather than reading past it.
    for (size_t n = 0; n < good.size(); ++n) {
        WaveFile wave;
        EXPECT_FALSE(parse(good.substr(0, n), wave)) << n;
    }
}

}  // namespace
}  // namespace tvk
