#pragma once
// JPEG images through libjpeg: grey, colour and four-component files.
#include <cstdint>
#include <span>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

// Decodes a whole JPEG file held in memory. No colour key applies: every pixel is
// opaque unless the file has four components, which are copied as they are (the
// has-alpha flag is then 1, else 0). libjpeg errors (corrupt or truncated data) fail
// the decode and never end the process.
bool decode_jpeg(ImageBuffer& image, std::span<const uint8_t> file);

}  // namespace tvk
