// PNG files through libpng: any bytes are refused or decoded, libpng's errors never
// end the process, and a second decode into the reused block gives the same image.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "runtime/gfx/png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    const int32_t key = (size & 1) ? -1 : 0xFF0080;
    tvk::ImageBuffer image;
    if (!tvk::decode_png(image, file, key, "fuzz.png")) return 0;
    const size_t bytes = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4;
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() < bytes) std::abort();
    tvk::ImageBuffer again = image;
    if (!tvk::decode_png(again, file, key, "fuzz.png") || again.width != image.width ||
        again.height != image.height || std::memcmp(again.pixels.data(), image.pixels.data(), bytes) != 0)
        std::abort();
    return 0;
}
