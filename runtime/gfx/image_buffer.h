#pragma once
// The decoded image that every decoder fills and the texture upload reads.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/value/rt_array.h"

namespace tvk {

// Largest image side any decoder accepts: sprite slots record sizes in 16 bits.
inline constexpr int32_t kMaxImageSide = 32767;
// Largest pixel block any decoder allocates (RGBA bytes), so that a header that
// claims a giant image fails the load instead of exhausting memory.
inline constexpr size_t kMaxImageBytes = size_t{1} << 29;

struct ImageBuffer {
    // 1 when the pixels carry their own alpha; 0 marks an image whose transparency
    // came only from the colour key.
    uint8_t has_alpha = 0;
    int32_t width = 0;
    int32_t height = 0;
    // width * height * 4 bytes, rows top to bottom, each pixel R, G, B, A. The block
    // is kept between decodes and only grows.
    std::vector<uint8_t> pixels;

    int32_t capacity() const { return static_cast<int32_t>(pixels.size()); }
    uint8_t* pixel(int32_t x, int32_t y) {
        return pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
    }
    const uint8_t* pixel(int32_t x, int32_t y) const {
        return pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
    }
};

// The program's form of an image: one packed value per pixel, red in bits 0-7,
// green 8-15, blue 16-23 and alpha 24-31, rows top to bottom; the array is sized to
// width * height.
void image_to_packed_pixels(const ImageBuffer& image, IntArray& pixels);

// True when a width by height image fits the limits above.
bool image_size_acceptable(int64_t width, int64_t height);
// True when the image's sizes are positive and within the limits, and its pixel
// block holds them. Every encoder refuses other images.
bool image_writable(const ImageBuffer& image);

// Sizes the image to width by height. The block is reused when it is large enough;
// otherwise a new zero-filled block replaces it and the has-alpha flag becomes 1.
// Fails (leaving the image unchanged) for sizes outside the limits or when memory
// runs out.
bool allocate_image(ImageBuffer& image, int32_t width, int32_t height);

}  // namespace tvk
