// The runtime's own BMP writer: 24 bits per pixel, uncompressed, bottom-up rows.
#include <cstring>
#include <new>

#include "runtime/gfx/bmp_writer.h"

namespace tvk {
namespace {

constexpr uint32_t kHeaderBytes = 54;

void put16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}
void put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

bool encode_bmp(const ImageBuffer& image, std::vector<uint8_t>& file) {
    if (!image_writable(image)) return false;
    const uint32_t w = static_cast<uint32_t>(image.width);
    const uint32_t h = static_cast<uint32_t>(image.height);
    const uint32_t row_size = (w * 3 + 3) & ~3u;
    try {
        file.assign(kHeaderBytes + static_cast<size_t>(row_size) * h, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint8_t* header = file.data();
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, kHeaderBytes + row_size * h);
    put32(header + 10, kHeaderBytes);
    put32(header + 14, 40);
    put32(header + 18, w);
    put32(header + 22, h);
    put16(header + 26, 1);
    put16(header + 28, 24);
    put32(header + 38, 10000);
    put32(header + 42, 10000);
    for (uint32_t i = 0; i < h; ++i) {
        uint8_t* out = file.data() + kHeaderBytes + static_cast<size_t>(row_size) * i;
        const uint8_t* in = image.pixel(0, static_cast<int32_t>(h - 1 - i));
        for (uint32_t x = 0; x < w; ++x, in += 4, out += 3) {
            if (in[3] != 255) {
                out[0] = 128;
                out[1] = 0;
                out[2] = 255;
            } else {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
        }
    }
    return true;
}

}  // namespace tvk
