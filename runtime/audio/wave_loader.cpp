#include "runtime/audio/wave_loader.h"

#include <cstring>

#include "runtime/files/file_record.h"

namespace tvk {

namespace {

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

// A chunk header at pos whose body lies wholly inside the file.
bool read_chunk(const uint8_t* bytes, size_t size, size_t pos, const uint8_t*& id, uint32_t& length) {
    if (pos > size || size - pos < 8) return false;
    id = bytes + pos;
    length = u32(bytes + pos + 4);
    return length <= size - pos - 8;
}

bool is_pcm(const uint8_t* fmt, uint32_t length) {
    const uint16_t tag = u16(fmt);
    if (tag == kFormatPcm) return true;
    // The extensible form names its real format in the first two bytes of the sub-format.
    return tag == kFormatExtensible && length >= 40 && u16(fmt + 24) == kFormatPcm;
}

}  // namespace

bool parse_wave(const uint8_t* bytes, size_t size, WaveFile& wave) {
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        return false;
    }
    size_t pos = 12;
    const uint8_t* id = nullptr;
    uint32_t length = 0;
    // Chunks before "fmt " are skipped by their length, without a padding byte.
    for (;;) {
        if (!read_chunk(bytes, size, pos, id, length)) return false;
        if (std::memcmp(id, "fmt ", 4) == 0) break;
        pos += 8 + static_cast<size_t>(length);
    }
    if (length < 16) return false;
    const uint8_t* fmt = bytes + pos + 8;
    const uint16_t channels = u16(fmt + 2);
    wave.format_tag = u16(fmt);
    wave.format.sample_rate = static_cast<int32_t>(u32(fmt + 4) & 0x7FFFFFFF);
    wave.format.block_align = static_cast<int16_t>(u16(fmt + 12));
    wave.format.bits_per_sample = static_cast<int16_t>(u16(fmt + 14));
    wave.format.channels = static_cast<int16_t>(channels < 2 ? 1 : 2);
    if (!is_pcm(fmt, length) || channels == 0 || channels > 2) return false;
    if (wave.format.bits_per_sample != 8 && wave.format.bits_per_sample != 16) return false;
    if (wave.format.block_align != wave.format.channels * (wave.format.bits_per_sample / 8)) return false;
    if (wave.format.sample_rate < 100 || wave.format.sample_rate > 384000) return false;
    pos += 8 + static_cast<size_t>(length);
    for (;;) {
        if (!read_chunk(bytes, size, pos, id, length)) return false;
        if (std::memcmp(id, "data", 4) == 0) break;
        pos += 8 + static_cast<size_t>(length);
    }
    // A buffer holds whole frames; an empty one cannot be made.
    const uint32_t usable = length - length % static_cast<uint32_t>(wave.format.block_align);
    if (usable == 0) return false;
    wave.data.assign(bytes + pos + 8, bytes + pos + 8 + usable);
    return true;
}

bool load_wave_file(const char* name, WaveFile& wave) {
    FileRecord record;
    if (file_open_read(record, name) == 0) return false;
    bool ok = false;
    if (record.size >= 12 && record.size <= (int64_t{1} << 31)) {
        std::vector<uint8_t> bytes(static_cast<size_t>(record.size));
        ok = file_read(record, bytes.data(), record.size) == 1 &&
             parse_wave(bytes.data(), bytes.size(), wave);
    }
    file_close(record);
    return ok;
}

}  // namespace tvk
