#pragma once
// Uploading decoded images into power-of-two OpenGL textures.
#include <cstdint>
#include <vector>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

// The smallest power of two that is at least n and at least 16.
int32_t texture_side(int32_t n);

// The w by h part of the image at (x, y) as a texture_side(w) by texture_side(h)
// RGBA block: image row y + j lands in texel row h - 1 - j (the texture holds the
// image bottom up), everything outside the part is transparent black.
std::vector<uint8_t> texture_texels(const ImageBuffer& image, int32_t x, int32_t y, int32_t w,
                                    int32_t h);

// Turns an RGBA texel block into a normal map of the height field held in its blue
// bytes (neighbours wrap around the edges; alpha is kept).
void convert_to_normal_map(std::vector<uint8_t>& texels, int32_t width, int32_t height);

// Halves the longer side of an RGBA texel block until it is square; each new texel is
// the average of the two it replaces.
void make_square(std::vector<uint8_t>& texels, int32_t& width, int32_t& height);
// One mipmap level down: each texel from a 2 by 2 block, the block's first texel
// weighted most. Sides of 1 stay 1.
std::vector<uint8_t> next_mip_level(const std::vector<uint8_t>& texels, int32_t width,
                                    int32_t height);

// Uploads the w by h part of the image at (x, y) (0 means "to the image's edge") into
// texture, reusing its name when it has one. Font textures filter with GL_NEAREST,
// others with GL_LINEAR. Fails for empty parts and parts larger than the driver's
// texture limit. Needs the current GL context.
bool upload_texture(const ImageBuffer& image, int32_t x, int32_t y, int32_t w, int32_t h,
                    uint32_t& texture, bool normal_map, bool font);

// Makes a square mipmapped texture (linear, mipmaps linear, wrapping) from a width by
// height RGBA texel block: make_square, then every level down to 1 by 1 with
// next_mip_level. Replaces what mipmapped named. The block is used up. Needs the
// current GL context; false (mipmapped unchanged) when memory runs out.
bool upload_mipmapped_texture(std::vector<uint8_t> texels, int32_t width, int32_t height,
                              uint32_t& mipmapped);

// The driver's GL_MAX_TEXTURE_SIZE.
int32_t max_texture_size();

}  // namespace tvk
