// Background tile sets: grabbing the screen, loading pictures, drawing and freeing.
#include "runtime/gfx/backgrounds.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "runtime/gfx/colour_key.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/texture_upload.h"

namespace tvk {

namespace {

BackgroundTileSet* tile_set(OpenGLRainbows& device, int32_t set) {
    if (set < 0 || set >= kBackgroundSetCount) return nullptr;
    return &device.backgrounds.sets[static_cast<size_t>(set)];
}

size_t tile_index(int32_t column, int32_t row) {
    return static_cast<size_t>(column * kBackgroundRows + row);
}

// A texture name ready for a side by side tile: the existing one when it already
// has that size, else a fresh one with wrap, filters and storage set up.
uint32_t prepare_tile(uint32_t& texture, int16_t& texture_width, int16_t& texture_height,
                      int32_t side, const OpenGLRainbows& device) {
    if (texture != 0 && texture_width == side && texture_height == side) {
        glBindTexture(GL_TEXTURE_2D, texture);
        return texture;
    }
    if (texture != 0) glDeleteTextures(1, &texture);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0, device.display.bgra_supported ? GL_BGRA : GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    texture_width = texture_height = static_cast<int16_t>(side);
    return texture;
}

}  // namespace

BackgroundTileSizes* background_tile_sizes(OpenGLRainbows& device, int32_t set) {
    BackgroundTileSet* tiles = tile_set(device, set);
    return tiles ? &tiles->sizes : nullptr;
}

int32_t grab_tile_side(int32_t width, int32_t height, int32_t max_texture) {
    const int32_t larger = std::max(width, height);
    int32_t side = 128;
    while (side < larger && side < max_texture) side *= 2;
    return side;
}

std::vector<uint8_t> background_tile_texels(const ImageBuffer& image, int32_t left, int32_t top,
                                            int32_t side) {
    std::vector<uint8_t> texels(static_cast<size_t>(side) * side * 4, 0);
    const int32_t w = std::clamp(image.width - left, 0, side);
    const int32_t h = std::clamp(image.height - top, 0, side);
    for (int32_t j = 0; j < h; ++j)
        std::memcpy(&texels[static_cast<size_t>(side - 1 - j) * side * 4], image.pixel(left, top + j),
                    static_cast<size_t>(w) * 4);
    return texels;
}

bool grab_background(OpenGLRainbows& device, int32_t set) {
    flush_draw_batch(device);
    BackgroundTileSet* tiles = tile_set(device, set);
    if (!tiles) return false;
    BackgroundTileSizes& sizes = tiles->sizes;
    const int32_t width = device.display.window_width, height = device.display.window_height;
    if (width <= 0 || height <= 0) return false;
    const int32_t side = grab_tile_side(width, height, max_texture_size());
    const int32_t rows = std::min((height + side - 1) / side, kBackgroundRows);
    const int32_t columns = std::min((width + side - 1) / side, kBackgroundColumns);
    std::vector<uint8_t>& scratch = device.backgrounds.scratch;
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            const size_t i = tile_index(c, r);
            const int32_t tile_left = c * side, tile_top = r * side;
            const int32_t uw = std::min(side, width - tile_left);
            const int32_t uh = std::min(side, height - tile_top);
            prepare_tile(tiles->textures[i], sizes.texture_width[i], sizes.texture_height[i], side, device);
            if (device.display.bgra_supported) {
                glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, tile_left, height - tile_top - uh, uw, uh);
            } else {
                // Read the region and upload it as the tile's lower-left part.
                try {
                    scratch.assign(static_cast<size_t>(side) * side * 4, 0);
                } catch (const std::bad_alloc&) {
                    return false;
                }
                glPixelStorei(GL_PACK_ALIGNMENT, 4);
                glPixelStorei(GL_PACK_ROW_LENGTH, side);
                glReadPixels(tile_left, height - tile_top - uh, uw, uh, GL_RGBA, GL_UNSIGNED_BYTE,
                             scratch.data());
                glPixelStorei(GL_PACK_ROW_LENGTH, 0);
                glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                             scratch.data());
            }
            sizes.used_width[i] = static_cast<int16_t>(uw);
            sizes.used_height[i] = static_cast<int16_t>(uh);
        }
    }
    // Tiles of an earlier, larger grab that this one does not cover are let go.
    for (int32_t c = 0; c < kBackgroundColumns; ++c) {
        for (int32_t r = 0; r < kBackgroundRows; ++r) {
            const size_t i = tile_index(c, r);
            if ((c < columns && r < rows) || tiles->textures[i] == 0) continue;
            glDeleteTextures(1, &tiles->textures[i]);
            tiles->textures[i] = 0;
            sizes.texture_width[i] = sizes.texture_height[i] = 0;
            sizes.used_width[i] = sizes.used_height[i] = 0;
        }
    }
    tiles->columns = static_cast<uint8_t>(columns);
    tiles->rows = static_cast<uint8_t>(rows);
    device.drawing.bound_sprite = -1;   // the tiles were bound behind the sprite layer's back
    return true;
}

bool load_background_image(OpenGLRainbows& device, int32_t set, const std::string& path) {
    flush_draw_batch(device);
    BackgroundTileSet* tiles = tile_set(device, set);
    if (!tiles) return false;
    ImageBuffer image;
    if (!load_image_file(image, path, kNoColourKey) || image.width <= 0 || image.height <= 0)
        return false;
    const int32_t side = std::min(max_texture_size(), kBackgroundLoadTile);
    free_background(device, set);
    BackgroundTileSizes& sizes = tiles->sizes;
    // A picture beyond 8 rows or 24 columns of tiles keeps the part that fits.
    const int32_t rows = std::min((image.height + side - 1) / side, kBackgroundRows);
    const int32_t columns = std::min((image.width + side - 1) / side, kBackgroundColumns);
    tiles->rows = static_cast<uint8_t>(rows);
    tiles->columns = static_cast<uint8_t>(columns);
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            const size_t i = tile_index(c, r);
            std::vector<uint8_t> texels;
            try {
                texels = background_tile_texels(image, c * side, r * side, side);
            } catch (const std::bad_alloc&) {
                free_background(device, set);
                return false;
            }
            while (glGetError() != GL_NO_ERROR) {
            }
            prepare_tile(tiles->textures[i], sizes.texture_width[i], sizes.texture_height[i], side, device);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         texels.data());
            sizes.used_width[i] = sizes.used_height[i] = static_cast<int16_t>(side);
            if (glGetError() != GL_NO_ERROR) {
                free_background(device, set);
                device.drawing.bound_sprite = -1;
                return false;
            }
        }
    }
    device.drawing.bound_sprite = -1;
    return true;
}

void draw_background(OpenGLRainbows& device, int32_t set) {
    flush_draw_batch(device);
    BackgroundTileSet* tiles = tile_set(device, set);
    if (!tiles || tiles->columns == 0) return;
    const BackgroundTileSizes& sizes = tiles->sizes;
    DrawingState& drawing = device.drawing;
    gl_disable(device, GlCap::blend);
    drawing.draw_alpha = 1.0f;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    gl_disable(device, GlCap::alpha_test);
    bind_sprite(device, -1, -1, 0);   // texture unit 1 off
    gl_enable(device, GlCap::texture_2d);
    // Any bound sprite number makes draw_quad use the texture coordinates.
    drawing.bound_sprite = 0;
    float x = 0.0f;
    for (int32_t c = 0; c < tiles->columns; ++c) {
        float y = 0.0f;
        float column_width = 0.0f;
        for (int32_t r = 0; r < tiles->rows; ++r) {
            const size_t i = tile_index(c, r);
            const float tw = sizes.texture_width[i], th = sizes.texture_height[i];
            const float uw = sizes.used_width[i], uh = sizes.used_height[i];
            if (tw > 0 && th > 0) {
                glBindTexture(GL_TEXTURE_2D, tiles->textures[i]);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
                const QuadVertex quad[4] = {{x, y + uh, 0.0f, 0.0f},
                                            {x + uw, y + uh, uw / tw, 0.0f},
                                            {x + uw, y, uw / tw, uh / th},
                                            {x, y, 0.0f, uh / th}};
                draw_quad(device, quad);
            }
            if (r == 0) column_width = tw;
            y += th;
        }
        x += column_width;
    }
    bind_sprite(device, -1, -1, 0);
    apply_smoothing(device);
    gl_disable(device, GlCap::blend);
    drawing.draw_alpha = 1.0f;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (drawing.alpha_test_reference >= 1.0f) {
        gl_disable(device, GlCap::alpha_test);
    } else {
        gl_enable(device, GlCap::alpha_test);
        glAlphaFunc(GL_GREATER, drawing.alpha_test_reference);
    }
}

void free_background(OpenGLRainbows& device, int32_t set) {
    flush_draw_batch(device);
    BackgroundTileSet* tiles = tile_set(device, set);
    if (!tiles) return;
    for (uint32_t& texture : tiles->textures) {
        if (texture != 0) glDeleteTextures(1, &texture);
        texture = 0;
    }
    *tiles = BackgroundTileSet{};
}

}  // namespace tvk
