#pragma once
// Small wave files made by the tests.
#include <cstdint>
#include <string>
#include <vector>

namespace tvk::audio_test {

struct WaveSpec {
    uint16_t format_tag = 1;
    uint16_t channels = 1;
    uint32_t sample_rate = 22050;
    uint16_t bits = 16;
    uint32_t frames = 2205;
    int32_t level = 10000;         // every sample of every channel (16-bit range)
    uint32_t fmt_extra = 0;        // bytes after the 16 of "fmt " (an extension)
    bool chunk_before_fmt = false; // a "LIST" chunk ahead of "fmt "
    int64_t data_length_bias = 0;  // added to the stated data length
};

inline void put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

inline std::string make_wave(const WaveSpec& w) {
    std::string data;
    for (uint32_t f = 0; f < w.frames; ++f) {
        for (uint16_t c = 0; c < w.channels; ++c) {
            if (w.bits == 8) {
                data += static_cast<char>(128 + (w.level >> 8));
            } else {
                put16(data, static_cast<uint16_t>(static_cast<int16_t>(w.level)));
            }
        }
    }
    std::string body = "WAVE";
    if (w.chunk_before_fmt) body += std::string("LIST") + std::string("\x04\0\0\0abcd", 8);
    body += "fmt ";
    put32(body, 16 + w.fmt_extra);
    put16(body, w.format_tag);
    put16(body, w.channels);
    put32(body, w.sample_rate);
    const uint16_t align = static_cast<uint16_t>(w.channels * w.bits / 8);
    put32(body, w.sample_rate * align);
    put16(body, align);
    put16(body, w.bits);
    for (uint32_t i = 0; i < w.fmt_extra; ++i) body += '\0';
    body += "data";
    put32(body, static_cast<uint32_t>(static_cast<int64_t>(data.size()) + w.data_length_bias));
    body += data;
    std::string file = "RIFF";
    put32(file, static_cast<uint32_t>(body.size()));
    return file + body;
}

}  // namespace tvk::audio_test
