#pragma once
// JPEG files through libjpeg: three RGB components, baseline, alpha dropped.
#include <cstdint>
#include <vector>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

// The whole file in memory, at quality 0..100. Library errors fail the encode; they
// never end the process.
bool encode_jpeg(const ImageBuffer& image, int32_t quality, std::vector<uint8_t>& file);

}  // namespace tvk
