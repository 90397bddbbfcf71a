#include "runtime/gfx/bmp_decoder.h"

#include <algorithm>
#include <cstring>

#include "runtime/gfx/colour_key.h"

namespace tvk {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// Uncompressed, and uncompressed with channel masks (read with the fixed layouts).
constexpr int32_t kCompressionNone = 0;
constexpr int32_t kCompressionBitfields = 3;

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct Rgb {
    uint8_t r, g, b;
};

struct BmpHeader {
    int32_t width = 0;
    int32_t height = 0;  // absolute value
    bool top_down = false;
    int32_t bits = 0;
    uint32_t data_offset = 0;
    std::vector<Rgb> palette;
};

bool read_header(std::span<const uint8_t> file, BmpHeader& hdr) {
    if (file.size() < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') return false;
    hdr.data_offset = u32(&file[10]);
    const uint32_t header_size = u32(&file[14]);
    if (header_size != kCoreHeaderSize && header_size < kInfoHeaderSize) return false;
    // The info header and the palette lie between the file header and the pixels.
    if (hdr.data_offset > file.size() || hdr.data_offset < kFileHeaderSize ||
        hdr.data_offset - kFileHeaderSize < header_size)
        return false;
    const uint8_t* h = &file[kFileHeaderSize];
    int64_t width, height;
    uint32_t entry_size;
    if (header_size == kCoreHeaderSize) {
        width = static_cast<int16_t>(u16(h + 4));
        height = static_cast<int16_t>(u16(h + 6));
        hdr.bits = u16(h + 10);
        entry_size = 3;
    } else {
        width = static_cast<int32_t>(u32(h + 4));
        height = static_cast<int32_t>(u32(h + 8));
        hdr.bits = u16(h + 14);
        const int32_t compression = static_cast<int32_t>(u32(h + 16));
        if (compression != kCompressionNone && compression != kCompressionBitfields) return false;
        entry_size = 4;
    }
    hdr.top_down = height < 0;
    if (hdr.top_down) height = -height;
    if (!image_size_acceptable(width, height)) return false;
    hdr.width = static_cast<int32_t>(width);
    hdr.height = static_cast<int32_t>(height);

    switch (hdr.bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    if (hdr.bits <= 8) {
        // Whatever lies between the info header and the pixels is the palette; only
        // as many entries as the bits can address are used.
        const uint32_t palette_bytes = hdr.data_offset - kFileHeaderSize - header_size;
        const uint32_t entries = std::min<uint32_t>(palette_bytes / entry_size, 1u << hdr.bits);
        if (entries == 0) return false;
        const uint8_t* p = h + header_size;
        hdr.palette.resize(entries);
        for (uint32_t i = 0; i < entries; ++i, p += entry_size) hdr.palette[i] = {p[2], p[1], p[0]};
    }
    return true;
}

}  // namespace

bool decode_bmp(ImageBuffer& image, std::span<const uint8_t> file, int32_t colour_key) {
    BmpHeader hdr;
    if (!read_header(file, hdr)) return false;
    const uint64_t row_size = (static_cast<uint64_t>(hdr.width) * hdr.bits + 31) / 32 * 4;
    if (row_size * hdr.height > file.size() - hdr.data_offset) return false;
    if (!allocate_image(image, hdr.width, hdr.height)) return false;

    const uint8_t* data = file.data() + hdr.data_offset;
    const size_t palette_size = hdr.palette.size();
    for (int32_t r = 0; r < hdr.height; ++r) {
        const int32_t file_row = hdr.top_down ? r : hdr.height - 1 - r;
        const uint8_t* row = data + row_size * file_row;
        uint8_t* out = image.pixel(0, r);
        for (int32_t x = 0; x < hdr.width; ++x, out += 4) {
            Rgb c{};
            if (hdr.bits <= 8) {
                uint32_t index;
                if (hdr.bits == 1) index = (row[x >> 3] >> (7 - (x & 7))) & 1;
                else if (hdr.bits == 4) index = (x & 1) ? (row[x >> 1] & 15) : (row[x >> 1] >> 4);
                else index = row[x];
                if (index >= palette_size) return false;
                c = hdr.palette[index];
            } else if (hdr.bits == 16) {
                const uint32_t v = u16(row + x * 2);
                c.r = static_cast<uint8_t>(((v >> 10) & 31) * 255 / 31);
                c.g = static_cast<uint8_t>(((v >> 5) & 31) * 255 / 31);
                c.b = static_cast<uint8_t>((v & 31) * 255 / 31);
            } else {
                const uint8_t* p = row + x * (hdr.bits / 8);
                c = {p[2], p[1], p[0]};
            }
            if (matches_colour_key(colour_key, c.r, c.g, c.b)) {
                std::memset(out, 0, 4);
            } else {
                out[0] = c.r;
                out[1] = c.g;
                out[2] = c.b;
                out[3] = 255;
            }
        }
    }
    image.has_alpha = 0;
    return true;
}

}  // namespace tvk
