// JPEG files through libjpeg: any bytes are refused or decoded, and libjpeg's errors
// never end the process.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "runtime/gfx/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tvk::ImageBuffer image;
    if (!tvk::decode_jpeg(image, std::span<const uint8_t>(data, size))) return 0;
    const size_t bytes = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4;
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() < bytes) std::abort();
    return 0;
}
