#pragma once
// The runtime's own BMP writer: 24 bits per pixel, uncompressed, bottom-up rows.
#include <cstdint>
#include <vector>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

// The whole file in memory. Rows padded to four bytes; a pixel whose alpha is not
// 255 is written as red 255, green 0, blue 128 (the default transparency colour),
// so the file loads back with those pixels transparent.
bool encode_bmp(const ImageBuffer& image, std::vector<uint8_t>& file);

}  // namespace tvk
