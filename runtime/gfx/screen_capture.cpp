// Grabbing screen rectangles into sprites and reading sprites back.
#include "runtime/gfx/screen_capture.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/texture_upload.h"

namespace tvk {

namespace {

bool command_slot(int32_t slot) { return slot >= 0 && slot < kSpriteCommandSlots; }

// The window pixel showing the turned window coordinate (x, y).
void window_pixel(const OpenGLRainbows& device, int32_t x, int32_t y, int32_t& wx, int32_t& wy) {
    const int32_t w = device.display.window_width, h = device.display.window_height;
    switch (device.screen.orientation) {
    case 1: wx = w - 1 - y; wy = x; break;
    case 2: wx = w - 1 - x; wy = h - 1 - y; break;
    case 3: wx = y; wy = h - 1 - x; break;
    default: wx = x; wy = y; break;
    }
}

// The packed colour the screen shows for the transparency colour: plotted at
// (4, 4) and read back, the pixel there restored afterwards. A primitive in that
// colour has alpha 0, so blending and the alpha test would leave the pixel
// untouched: both are off while it is plotted (draw_rect puts the test back).
uint32_t transparency_colour_on_screen(OpenGLRainbows& device) {
    const auto key = static_cast<int32_t>(device.drawing.transparency_colour);
    if (key == 0) return 0;
    const bool blending = gl_state(device, GlCap::blend) == 1;
    gl_disable(device, GlCap::blend);
    const int32_t saved = get_pixel(4, 4);
    draw_rect(4, 4, 1, 1, key);
    const int32_t shown = get_pixel(4, 4);
    draw_rect(4, 4, 1, 1, saved);
    if (blending) gl_enable(device, GlCap::blend);
    return static_cast<uint32_t>(shown) & 0xFFFFFF;
}

// Reads the rectangle back and fills the slot's texture (tw by th) with it, turned
// to the screen's orientation, keyed when the framebuffer has no alpha.
bool read_back_into_texture(OpenGLRainbows& device, int32_t x, int32_t y, int32_t w, int32_t h,
                            int32_t tw, int32_t th, bool keyed) {
    CaptureStore& store = device.capture;
    // The window rectangle holding the turned one.
    int32_t ax = 0, ay = 0, bx = 0, by = 0;
    window_pixel(device, x, y, ax, ay);
    window_pixel(device, x + w - 1, y + h - 1, bx, by);
    const int32_t left = std::min(ax, bx), top = std::min(ay, by);
    const int32_t rw = std::abs(bx - ax) + 1, rh = std::abs(by - ay) + 1;
    const uint32_t form = keyed ? transparency_colour_on_screen(device) : 0;
    try {
        store.read_back.assign(static_cast<size_t>(rw) * rh * 4, 0);
        store.texels.assign(static_cast<size_t>(tw) * th * 4, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(left, device.display.window_height - top - rh, rw, rh, GL_RGBA, GL_UNSIGNED_BYTE,
                 store.read_back.data());
    for (int32_t j = 0; j < h; ++j) {
        for (int32_t i = 0; i < w; ++i) {
            int32_t wx = 0, wy = 0;
            window_pixel(device, x + i, y + j, wx, wy);
            const size_t row = static_cast<size_t>(top + rh - 1 - wy);   // read rows go bottom up
            const uint8_t* in = &store.read_back[(row * rw + static_cast<size_t>(wx - left)) * 4];
            uint8_t* out = &store.texels[(static_cast<size_t>(h - 1 - j) * tw + i) * 4];
            std::memcpy(out, in, 4);
            if (keyed && (in[0] | (in[1] << 8) | (in[2] << 16)) == static_cast<int32_t>(form)) out[3] = 0;
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, store.texels.data());
    return true;
}

}  // namespace

bool grab_sprite(OpenGLRainbows& device, int32_t slot, int32_t x, int32_t y, int32_t width,
                 int32_t height) {
    flush_draw_batch(device);
    SpriteSlot* s = command_slot(slot) ? sprite_slot(device, slot) : nullptr;
    if (!s) return false;
    s->frame_width = s->frame_height = 0;
    free_pixel_copy(device, slot);
    if (width <= 0 || height <= 0) {
        delete_sprite(device, slot);
        return true;
    }
    const int32_t tw = texture_side(width), th = texture_side(height);
    const int32_t limit = max_texture_size();
    if (!image_size_acceptable(width, height) || (limit > 0 && (tw > limit || th > limit))) {
        delete_sprite(device, slot);
        return false;
    }
    bind_sprite(device, -1, -1, 0);
    // The mipmapped copy would no longer match the picture.
    if (s->mipmapped_texture != 0) glDeleteTextures(1, &s->mipmapped_texture);
    s->mipmapped_texture = 0;
    if (s->texture != 0 && s->texture_width == tw && s->texture_height == th) {
        glBindTexture(GL_TEXTURE_2D, s->texture);
    } else {
        if (s->texture != 0) glDeleteTextures(1, &s->texture);
        glGenTextures(1, &s->texture);
        glBindTexture(GL_TEXTURE_2D, s->texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, device.display.bgra_supported ? GL_BGRA : GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
    }
    s->texture_width = static_cast<int16_t>(tw);
    s->texture_height = static_cast<int16_t>(th);
    s->width = static_cast<int16_t>(width);
    s->height = static_cast<int16_t>(height);
    s->u_extent = static_cast<float>(width) / static_cast<float>(tw);
    s->v_extent = static_cast<float>(height) / static_cast<float>(th);

    int32_t& alpha_bits = device.capture.alpha_bits;
    if (alpha_bits < 0) {
        GLint bits = 0;
        glGetIntegerv(GL_ALPHA_BITS, &bits);
        alpha_bits = bits;
    }
    if (alpha_bits > 0 && device.screen.orientation == 0) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, device.display.window_height - y - height, width,
                            height);
        return true;
    }
    if (!read_back_into_texture(device, x, y, width, height, tw, th, alpha_bits <= 0)) {
        delete_sprite(device, slot);
        return false;
    }
    return true;
}

bool read_sprite_pixels(OpenGLRainbows& device, int32_t slot, ImageBuffer& image) {
    flush_draw_batch(device);
    const SpriteSlot* s = sprite_slot(device, slot);
    const GlExtensions& ext = gl_extensions();
    if (!s || s->width <= 0 || s->texture == 0 || !ext.framebuffers_available()) return false;
    if (!allocate_image(image, s->width, s->height)) return false;
    image.has_alpha = 1;
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &previous);
    GLuint framebuffer = 0;
    ext.glGenFramebuffersEXT(1, &framebuffer);
    ext.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    ext.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                  s->texture, 0);
    const bool complete =
        ext.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    if (complete) {
        glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, s->width, s->height, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
    }
    ext.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(previous));
    ext.glDeleteFramebuffersEXT(1, &framebuffer);
    if (!complete) return false;
    // The texture holds the picture bottom up.
    const size_t row_bytes = static_cast<size_t>(image.width) * 4;
    std::vector<uint8_t> row(row_bytes);
    for (int32_t top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom) {
        std::memcpy(row.data(), image.pixel(0, top), row_bytes);
        std::memcpy(image.pixel(0, top), image.pixel(0, bottom), row_bytes);
        std::memcpy(image.pixel(0, bottom), row.data(), row_bytes);
    }
    return true;
}

}  // namespace tvk
