#pragma once
// Reading a PNG file as 8-bit RGBA rows, top row first, for the example tests: the
// picture comparison and the frame-capture test. libpng's simplified reader, so the
// tests read the files the way any other program would.
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tvk::examples {

struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height * 4

    const uint8_t* at(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};

inline bool read_png(const std::string& path, RgbaPicture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

inline bool write_png(const std::string& path, const RgbaPicture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(), 0, nullptr) != 0;
}

}  // namespace tvk::examples
