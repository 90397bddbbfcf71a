#pragma once
// BMP images: the core (12-byte) and the 40-byte-or-longer info headers, uncompressed
// pixel data of 1, 4, 8, 16 (5-5-5), 24 and 32 bits, bottom-up and top-down rows.
#include <cstdint>
#include <span>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

// Decodes a whole BMP file held in memory. Pixels equal to the colour key (-1 for
// none) become transparent black; every other pixel is opaque. The has-alpha flag
// ends as 0. Fails on anything that is not a well-formed uncompressed BMP: bad
// signature or header sizes, sizes beyond the image limits, missing palettes,
// palette indices past the palette's end, and pixel data shorter than the header
// claims.
bool decode_bmp(ImageBuffer& image, std::span<const uint8_t> file, int32_t colour_key);

}  // namespace tvk
