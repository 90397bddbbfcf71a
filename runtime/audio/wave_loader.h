#pragma once
// Reading a PCM wave file whole, for a sound slot's first buffer.
#include <cstdint>
#include <vector>

#include "runtime/audio/sound_mixer.h"

namespace tvk {

struct WaveFile {
    uint16_t format_tag = 0;   // as the file states it
    MixerFormat format;        // how the buffer plays it
    std::vector<uint8_t> data; // the "data" chunk
};

// Reads a wave held in bytes. Every size is checked against the bytes there are:
// a file that is not RIFF/WAVE, lacks "fmt " or "data", has a chunk running past
// its end, or holds a format the mixer cannot play (not PCM, more than two
// channels, not 8 or 16 bits, a block alignment that does not match) gives false.
bool parse_wave(const uint8_t* bytes, size_t size, WaveFile& wave);

// Opens a looked-up name (a disk path or a memory-file name) and parses it.
bool load_wave_file(const char* name, WaveFile& wave);

}  // namespace tvk
