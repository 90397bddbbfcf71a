#include "runtime/audio/sound_mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tvk {

namespace {

bool playable(const MixerFormat& f) {
    if (f.channels != 1 && f.channels != 2) return false;
    if (f.bits_per_sample != 8 && f.bits_per_sample != 16) return false;
    if (f.block_align != f.channels * (f.bits_per_sample / 8)) return false;
    return f.sample_rate >= 100 && f.sample_rate <= 384000;
}

// One channel's sample of a frame as a value of 16-bit range.
int32_t sample_at(const MixerBuffer& b, uint64_t frame, int32_t channel) {
    const uint8_t* p = b.samples->data() + frame * static_cast<uint64_t>(b.format.block_align);
    if (b.format.bits_per_sample == 8) return (static_cast<int32_t>(p[channel]) - 128) << 8;
    const uint8_t* s = p + channel * 2;
    return static_cast<int16_t>(static_cast<uint16_t>(s[0] | (s[1] << 8)));
}

}  // namespace

double gain_of_attenuation(int32_t hundredths_db) {
    if (hundredths_db <= kMixerVolumeSilent) return 0.0;
    if (hundredths_db >= 0) return 1.0;
    return std::pow(10.0, hundredths_db / 2000.0);
}

Mixer::Mixer(int32_t device_rate, int32_t device_channels)
    : device_rate_(device_rate > 0 ? device_rate : 22050),
      device_channels_(device_channels > 0 ? device_channels : 2) {}

Mixer::~Mixer() = default;

MixerBuffer* Mixer::create_buffer(const MixerFormat& format, uint32_t bytes, bool controls) {
    if (!playable(format) || bytes == 0) return nullptr;
    auto buffer = std::make_unique<MixerBuffer>();
    buffer->samples = std::make_shared<std::vector<uint8_t>>(bytes, format.bits_per_sample == 8 ? 128 : 0);
    buffer->format = format;
    buffer->controls = controls;
    std::lock_guard<std::mutex> hold(lock_);
    buffers_.push_back(std::move(buffer));
    return buffers_.back().get();
}

MixerBuffer* Mixer::duplicate_buffer(MixerBuffer* original) {
    if (!original) return nullptr;
    std::lock_guard<std::mutex> hold(lock_);
    auto buffer = std::make_unique<MixerBuffer>();
    buffer->samples = original->samples;
    buffer->format = original->format;
    buffer->controls = original->controls;
    buffers_.push_back(std::move(buffer));
    return buffers_.back().get();
}

bool Mixer::fill_buffer(MixerBuffer* buffer, uint32_t offset, const uint8_t* bytes, uint32_t count) {
    if (!buffer) return false;
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<uint8_t>& s = *buffer->samples;
    if (offset > s.size() || count > s.size() - offset) return false;
    std::memcpy(s.data() + offset, bytes, count);
    return true;
}

bool Mixer::play(MixerBuffer* buffer) {
    if (!buffer) return false;
    std::lock_guard<std::mutex> hold(lock_);
    buffer->playing = true;
    return true;
}

bool Mixer::stop(MixerBuffer* buffer) {
    if (!buffer) return false;
    std::lock_guard<std::mutex> hold(lock_);
    buffer->playing = false;
    return true;
}

bool Mixer::set_position(MixerBuffer* buffer, uint32_t byte_offset) {
    if (!buffer) return false;
    std::lock_guard<std::mutex> hold(lock_);
    const uint64_t frame = byte_offset / static_cast<uint32_t>(buffer->format.block_align);
    buffer->position = frame << 32;
    return true;
}

bool Mixer::status(MixerBuffer* buffer, uint32_t& status) {
    status = 0;
    if (!buffer) return false;
    std::lock_guard<std::mutex> hold(lock_);
    status = buffer->playing ? kMixerStatusPlaying : 0;
    return true;
}

// Samples live in ordinary memory here, so a buffer is never lost.
bool Mixer::restore(MixerBuffer* buffer) { return buffer != nullptr; }

bool Mixer::set_volume(MixerBuffer* buffer, int32_t hundredths_db) {
    if (!buffer || !buffer->controls) return false;
    if (hundredths_db < kMixerVolumeSilent || hundredths_db > 0) return false;
    std::lock_guard<std::mutex> hold(lock_);
    buffer->volume = hundredths_db;
    return true;
}

bool Mixer::set_pan(MixerBuffer* buffer, int32_t pan) {
    if (!buffer || !buffer->controls) return false;
    if (pan < -kMixerPanRight || pan > kMixerPanRight) return false;
    std::lock_guard<std::mutex> hold(lock_);
    buffer->pan = pan;
    return true;
}

void Mixer::release(MixerBuffer* buffer) {
    if (!buffer) return;
    std::lock_guard<std::mutex> hold(lock_);
    auto it = std::find_if(buffers_.begin(), buffers_.end(),
                           [buffer](const auto& b) { return b.get() == buffer; });
    if (it != buffers_.end()) buffers_.erase(it);
}

void Mixer::mix(int16_t* out, int32_t frames) {
    std::lock_guard<std::mutex> hold(lock_);
    for (const auto& owned : buffers_) {
        MixerBuffer& b = *owned;
        if (!b.playing) continue;
        const uint64_t length = b.samples->size() / static_cast<uint32_t>(b.format.block_align);
        const uint64_t step = (static_cast<uint64_t>(b.format.sample_rate) << 32) /
                              static_cast<uint64_t>(device_rate_);
        // Pan attenuates the far side only, as a balance control does.
        const double gain = gain_of_attenuation(b.volume);
        const double left_gain = gain * (b.pan > 0 ? gain_of_attenuation(-b.pan) : 1.0);
        const double right_gain = gain * (b.pan < 0 ? gain_of_attenuation(b.pan) : 1.0);
        const int32_t last_channel = b.format.channels - 1;
        for (int32_t i = 0; i < frames; ++i) {
            const uint64_t frame = b.position >> 32;
            if (frame >= length) {
                b.playing = false;
                b.position = 0;
                break;
            }
            // Linear interpolation towards the next frame (the last one holds).
            const double t = static_cast<double>(b.position & 0xFFFFFFFFu) / 4294967296.0;
            const uint64_t next = frame + 1 < length ? frame + 1 : frame;
            double values[2];
            for (int32_t c = 0; c < 2; ++c) {
                const int32_t ch = std::min(c, last_channel);
                const double a = sample_at(b, frame, ch);
                values[c] = a + (sample_at(b, next, ch) - a) * t;
            }
            const double mixed[2] = {values[0] * left_gain, values[1] * right_gain};
            if (device_channels_ == 1) {
                const int32_t v = out[i] + static_cast<int32_t>(std::lround((mixed[0] + mixed[1]) / 2));
                out[i] = static_cast<int16_t>(std::clamp(v, -32768, 32767));
            } else {
                for (int32_t c = 0; c < 2; ++c) {
                    int16_t& o = out[i * device_channels_ + c];
                    const int32_t v = o + static_cast<int32_t>(std::lround(mixed[c]));
                    o = static_cast<int16_t>(std::clamp(v, -32768, 32767));
                }
            }
            b.position += step;
        }
    }
}

}  // namespace tvk
