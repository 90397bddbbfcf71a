// BMP files: the decoder must refuse or decode any bytes without reading past them,
// and decoding the same file again into the reused block must give the same image.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "runtime/gfx/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    // The default transparency colour for even sizes, no key for odd ones.
    const int32_t key = (size & 1) ? -1 : 0xFF0080;
    tvk::ImageBuffer image;
    if (!tvk::decode_bmp(image, file, key)) return 0;
    const size_t bytes = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4;
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() < bytes) std::abort();
    tvk::ImageBuffer again = image;
    if (!tvk::decode_bmp(again, file, key) || again.width != image.width || again.height != image.height ||
        std::memcmp(again.pixels.data(), image.pixels.data(), bytes) != 0)
        std::abort();
    return 0;
}
