#include "runtime/gfx/image_buffer.h"

#include <new>

namespace tvk {

bool image_size_acceptable(int64_t width, int64_t height) {
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide) return false;
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4 <= kMaxImageBytes;
}

bool image_writable(const ImageBuffer& image) {
    return image.width > 0 && image.height > 0 && image_size_acceptable(image.width, image.height) &&
           image.pixels.size() >= static_cast<size_t>(image.width) * image.height * 4;
}

bool allocate_image(ImageBuffer& image, int32_t width, int32_t height) {
    if (!image_size_acceptable(width, height)) return false;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (bytes > image.pixels.size()) {
        try {
            std::vector<uint8_t> block(bytes, 0);
            image.pixels.swap(block);
        } catch (const std::bad_alloc&) {
            return false;
        }
        image.has_alpha = 1;
    }
    image.width = width;
    image.height = height;
    return true;
}

void image_to_packed_pixels(const ImageBuffer& image, IntArray& pixels) {
    array_dim_exact(pixels, image.width * image.height);
    const uint8_t* in = image.pixels.data();
    for (int32_t& value : pixels) {
        value = static_cast<int32_t>(static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
                                     (static_cast<uint32_t>(in[2]) << 16) |
                                     (static_cast<uint32_t>(in[3]) << 24));
        in += 4;
    }
}

}  // namespace tvk
