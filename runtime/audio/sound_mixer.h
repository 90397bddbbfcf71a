#pragma once
// The effect mixer: static sample buffers played into the audio device's stream.
//
// A buffer holds PCM samples in its own format (8-bit unsigned or 16-bit signed,
// one or two channels, any rate); duplicates share the samples of the buffer
// they were made from but play on their own. Each playing buffer is resampled to
// the device rate, scaled by its volume and pan and added into the stream. The
// device mixes on its own thread; every operation here takes the mixer's lock.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace tvk {

struct MixerFormat {
    int32_t sample_rate = 0;
    int16_t channels = 0;      // 1 or 2
    int16_t bits_per_sample = 0;  // 8 or 16
    int16_t block_align = 0;   // bytes per frame
};

constexpr uint32_t kMixerStatusPlaying = 1;
constexpr uint32_t kMixerStatusLost = 2;
constexpr int32_t kMixerVolumeSilent = -10000;  // hundredths of a decibel
constexpr int32_t kMixerPanRight = 10000;

struct MixerBuffer {
    std::shared_ptr<std::vector<uint8_t>> samples;
    MixerFormat format;
    bool controls = false;    // volume and pan can be set
    bool playing = false;
    uint64_t position = 0;    // frames in 32.32 fixed point
    int32_t volume = 0;       // hundredths of a decibel, -10000..0
    int32_t pan = 0;          // -10000 (left only) .. 10000 (right only)
};

// The mixer of the sound device: the buffers that exist and the output format.
class Mixer {
public:
    Mixer(int32_t device_rate, int32_t device_channels);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;
    ~Mixer();

    // Null when the format is not one the mixer plays or the size is 0.
    MixerBuffer* create_buffer(const MixerFormat& format, uint32_t bytes, bool controls);
    MixerBuffer* duplicate_buffer(MixerBuffer* original);
    // Writes samples into a buffer that is not playing; false when they do not fit.
    bool fill_buffer(MixerBuffer* buffer, uint32_t offset, const uint8_t* bytes, uint32_t count);
    bool play(MixerBuffer* buffer);
    bool stop(MixerBuffer* buffer);
    bool set_position(MixerBuffer* buffer, uint32_t byte_offset);
    bool status(MixerBuffer* buffer, uint32_t& status);
    bool restore(MixerBuffer* buffer);
    bool set_volume(MixerBuffer* buffer, int32_t hundredths_db);
    bool set_pan(MixerBuffer* buffer, int32_t pan);
    void release(MixerBuffer* buffer);

    // Adds every playing buffer into frames × device channels samples.
    void mix(int16_t* out, int32_t frames);

    int32_t device_rate() const { return device_rate_; }

private:
    std::mutex lock_;
    int32_t device_rate_;
    int32_t device_channels_;
    std::vector<std::unique_ptr<MixerBuffer>> buffers_;
};

// Gain of an attenuation in hundredths of a decibel; 0 at -10000 and below.
double gain_of_attenuation(int32_t hundredths_db);

}  // namespace tvk
