#pragma once
// PNG files through libpng: 8-bit RGBA, no interlace, default compression.
#include <cstdint>
#include <vector>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

// The whole file in memory. Library errors fail the encode; they never end the
// process.
bool encode_png(const ImageBuffer& image, std::vector<uint8_t>& file);

}  // namespace tvk
