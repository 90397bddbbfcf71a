#include "runtime/gfx/texture_upload.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <new>

namespace tvk {

int32_t texture_side(int32_t n) {
    int32_t side = 16;
    while (side < n && side < (1 << 30)) side <<= 1;
    return side;
}

std::vector<uint8_t> texture_texels(const ImageBuffer& image, int32_t x, int32_t y, int32_t w,
                                    int32_t h) {
    const int32_t tw = texture_side(w);
    const int32_t th = texture_side(h);
    std::vector<uint8_t> texels(static_cast<size_t>(tw) * th * 4, 0);
    for (int32_t j = 0; j < h; ++j) {
        std::memcpy(&texels[(static_cast<size_t>(h - 1 - j) * tw) * 4], image.pixel(x, y + j),
                    static_cast<size_t>(w) * 4);
    }
    return texels;
}

void convert_to_normal_map(std::vector<uint8_t>& texels, int32_t width, int32_t height) {
    const std::vector<uint8_t> source = texels;
    // Rows are stored bottom up, so the image row above a texel is the next stored row.
    auto height_at = [&](int32_t x, int32_t row) -> float {
        x = (x + width) % width;
        row = (row + height) % height;
        return source[(static_cast<size_t>(row) * width + x) * 4 + 2];
    };
    for (int32_t r = 0; r < height; ++r) {
        for (int32_t x = 0; x < width; ++x) {
            const float up_left = height_at(x - 1, r + 1), up = height_at(x, r + 1),
                        up_right = height_at(x + 1, r + 1);
            const float left = height_at(x - 1, r), right = height_at(x + 1, r);
            const float down_left = height_at(x - 1, r - 1), down = height_at(x, r - 1),
                        down_right = height_at(x + 1, r - 1);
            const float nx =
                -((up_right + 2 * right + down_right) - (up_left + 2 * left + down_left)) / 255.0f;
            const float ny =
                -((up_left + 2 * up + up_right) - (down_left + 2 * down + down_right)) / 255.0f;
            const float length = std::sqrt(nx * nx + ny * ny + 1.0f);
            uint8_t* t = &texels[(static_cast<size_t>(r) * width + x) * 4];
            t[0] = static_cast<uint8_t>((nx / length + 1.0f) / 2.0f * 255.0f);
            t[1] = static_cast<uint8_t>((ny / length + 1.0f) / 2.0f * 255.0f);
            t[2] = static_cast<uint8_t>((1.0f / length + 1.0f) / 2.0f * 255.0f);
        }
    }
}

void make_square(std::vector<uint8_t>& texels, int32_t& width, int32_t& height) {
    while (width != height) {
        const bool halve_width = width > height;
        const int32_t nw = halve_width ? width / 2 : width;
        const int32_t nh = halve_width ? height : height / 2;
        std::vector<uint8_t> out(static_cast<size_t>(nw) * nh * 4);
        for (int32_t r = 0; r < nh; ++r) {
            for (int32_t x = 0; x < nw; ++x) {
                const int32_t sx = halve_width ? x * 2 : x, sr = halve_width ? r : r * 2;
                const uint8_t* a = &texels[(static_cast<size_t>(sr) * width + sx) * 4];
                const uint8_t* b = halve_width ? a + 4 : a + static_cast<size_t>(width) * 4;
                uint8_t* o = &out[(static_cast<size_t>(r) * nw + x) * 4];
                for (int c = 0; c < 4; ++c) o[c] = static_cast<uint8_t>((a[c] + b[c] + 1) / 2);
            }
        }
        texels.swap(out);
        width = nw;
        height = nh;
    }
}

std::vector<uint8_t> next_mip_level(const std::vector<uint8_t>& texels, int32_t width,
                                    int32_t height) {
    const int32_t nw = width > 1 ? width / 2 : 1;
    const int32_t nh = height > 1 ? height / 2 : 1;
    std::vector<uint8_t> out(static_cast<size_t>(nw) * nh * 4);
    for (int32_t r = 0; r < nh; ++r) {
        for (int32_t x = 0; x < nw; ++x) {
            const int32_t x0 = x * 2, x1 = width > 1 ? x0 + 1 : x0;
            const int32_t r0 = r * 2, r1 = height > 1 ? r0 + 1 : r0;
            const uint8_t* a = &texels[(static_cast<size_t>(r0) * width + x0) * 4];
            const uint8_t* b = &texels[(static_cast<size_t>(r0) * width + x1) * 4];
            const uint8_t* c = &texels[(static_cast<size_t>(r1) * width + x0) * 4];
            const uint8_t* d = &texels[(static_cast<size_t>(r1) * width + x1) * 4];
            uint8_t* o = &out[(static_cast<size_t>(r) * nw + x) * 4];
            for (int k = 0; k < 4; ++k)
                o[k] = static_cast<uint8_t>((a[k] * 7 + b[k] * 3 + c[k] * 3 + d[k] * 3 + 8) / 16);
        }
    }
    return out;
}

int32_t max_texture_size() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

namespace {

void prepare_texture(uint32_t& texture) {
    if (texture != 0) {
        glDeleteTextures(1, &texture);
    } else {
        glGenTextures(1, &texture);
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

}  // namespace

bool upload_texture(const ImageBuffer& image, int32_t x, int32_t y, int32_t w, int32_t h,
                    uint32_t& texture, bool normal_map, bool font) {
    if (w == 0) w = image.width - x;
    if (h == 0) h = image.height - y;
    if (w < 1 || h < 1 || x < 0 || y < 0 || x + w > image.width || y + h > image.height)
        return false;
    // A part larger than the driver takes fails instead of being cut, so that a
    // slot's recorded sizes always describe what its texture holds.
    const int32_t limit = max_texture_size();
    if (limit > 0 && (texture_side(w) > limit || texture_side(h) > limit)) return false;
    const int32_t tw = texture_side(w);
    const int32_t th = texture_side(h);
    std::vector<uint8_t> texels;
    try {
        texels = texture_texels(image, x, y, w, h);
        if (normal_map) convert_to_normal_map(texels, tw, th);
    } catch (const std::bad_alloc&) {
        return false;
    }

    while (glGetError() != GL_NO_ERROR) {
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    prepare_texture(texture);
    const GLint filter = font ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return glGetError() == GL_NO_ERROR;
}

bool upload_mipmapped_texture(std::vector<uint8_t> texels, int32_t width, int32_t height,
                              uint32_t& mipmapped) {
    uint32_t name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    try {
        make_square(texels, width, height);
        for (GLint level = 0;; ++level) {
            glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         texels.data());
            if (width == 1 && height == 1) break;
            texels = next_mip_level(texels, width, height);
            width = width > 1 ? width / 2 : 1;
            height = height > 1 ? height / 2 : 1;
        }
    } catch (const std::bad_alloc&) {
        glDeleteTextures(1, &name);
        return false;
    }
    if (mipmapped != 0) glDeleteTextures(1, &mipmapped);
    mipmapped = name;
    return true;
}

}  // namespace tvk
