#include "runtime/gfx/targets/back_buffer_copy.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/texture_upload.h"

namespace tvk {

bool make_sprite_texture(OpenGLRainbows& device, int32_t slot, int32_t tw, int32_t th) {
    flush_draw_batch(device);
    SpriteSlot* s = sprite_slot(device, slot);
    if (!s) return false;
    delete_sprite(device, slot);
    bind_sprite(device, -1, -1, 0);
    glGenTextures(1, &s->texture);
    if (s->texture == 0) return false;
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const std::vector<uint8_t> zeros(static_cast<size_t>(tw) * static_cast<size_t>(th) * 4, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, zeros.data());
    s->texture_width = static_cast<int16_t>(tw);
    s->texture_height = static_cast<int16_t>(th);
    s->frame_width = 0;
    s->frame_height = 0;
    return true;
}

bool copy_back_buffer_to_sprite(OpenGLRainbows& device, int32_t slot, int32_t gl_x, int32_t gl_y,
                                int32_t width, int32_t height, CopyAlpha alpha) {
    flush_draw_batch(device);
    SpriteSlot* s = sprite_slot(device, slot);
    if (!s || width < 1 || height < 1) return false;
    if (width > max_texture_size() || height > max_texture_size()) return false;

    // The area as the screen holds it; rows and columns outside stay transparent.
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    const int32_t x0 = std::max(gl_x, 0), y0 = std::max(gl_y, 0);
    const int32_t x1 = std::min(gl_x + width, device.display.window_width);
    const int32_t y1 = std::min(gl_y + height, device.display.window_height);
    if (x1 > x0 && y1 > y0) {
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ROW_LENGTH, width);
        glReadBuffer(screen_read_buffer(device));
        const size_t offset = (static_cast<size_t>(y0 - gl_y) * width + (x0 - gl_x)) * 4;
        glReadPixels(x0, y0, x1 - x0, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data() + offset);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    }

    GLint alpha_bits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alpha_bits);
    const uint32_t key = device.drawing.transparency_colour;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        uint8_t* p = &pixels[i];
        if (alpha == CopyAlpha::opaque) {
            p[3] = 255;
        } else if (alpha_bits == 0) {
            const uint32_t rgb = p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
            p[3] = rgb == key ? 0 : 255;
        }
    }

    // Before the picture changes (a mipmapped copy still owed is made from the old one).
    free_pixel_copy(device, slot);
    bind_sprite(device, -1, -1, 0);
    if (s->texture == 0 || s->texture_width < width || s->texture_height < height) {
        if (!make_sprite_texture(device, slot, texture_side(width), texture_side(height))) return false;
    }
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    s->width = static_cast<int16_t>(width);
    s->height = static_cast<int16_t>(height);
    s->u_extent = static_cast<float>(width) / static_cast<float>(s->texture_width);
    s->v_extent = static_cast<float>(height) / static_cast<float>(s->texture_height);
    return true;
}

}  // namespace tvk
