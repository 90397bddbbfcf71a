#include "runtime/gfx/sprite_store.h"

#include <GL/gl.h>

#include <cstring>
#include <new>
#include <string>

#include "runtime/files/media_archive.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/texture_upload.h"
#include "runtime/value/error_state.h"

namespace tvk {

SpriteSlot* sprite_table(OpenGLRainbows& device) {
    if (!device.sprite_table) {
        device.sprite_table = new SpriteSlot[kSpriteSlotCount];
        device.pixel_copies = new uint8_t*[kSpriteSlotCount]();
    }
    return device.sprite_table;
}

SpriteSlot* sprite_slot(OpenGLRainbows& device, int32_t slot) {
    if (slot < 0 || slot >= kSpriteSlotCount) return nullptr;
    return &sprite_table(device)[slot];
}

void delete_all_sprites(OpenGLRainbows& device) {
    flush_draw_batch(device);
    if (!device.sprite_table) return;
    for (int32_t slot = 0; slot < kSpriteCommandSlots; ++slot) delete_sprite(device, slot);
}

void free_sprite_table(OpenGLRainbows& device) {
    flush_draw_batch(device);
    if (device.pixel_copies) {
        for (int32_t slot = 0; slot < kSpriteSlotCount; ++slot) delete[] device.pixel_copies[slot];
    }
    delete[] device.pixel_copies;
    delete[] device.sprite_table;
    device.pixel_copies = nullptr;
    device.sprite_table = nullptr;
}

void delete_sprite(OpenGLRainbows& device, int32_t slot) {
    flush_draw_batch(device);
    SpriteSlot* s = sprite_slot(device, slot);
    if (!s) return;
    delete[] device.pixel_copies[slot];
    device.pixel_copies[slot] = nullptr;
    if (s->texture != 0 || s->mipmapped_texture != 0) {
        bind_sprite(device, -1, -1, 0);
        if (s->texture != 0) glDeleteTextures(1, &s->texture);
        if (s->mipmapped_texture != 0) glDeleteTextures(1, &s->mipmapped_texture);
    }
    s->texture = 0;
    s->mipmapped_texture = 0;
    s->texture_width = -1;
    s->texture_height = -1;
    s->width = 0;
    s->height = 0;
    s->u_extent = 1.0f;
    s->v_extent = 1.0f;
}

bool create_sprite_from_image(OpenGLRainbows& device, int32_t slot, const ImageBuffer& image,
                              bool normal_map) {
    flush_draw_batch(device);
    SpriteSlot* s = sprite_slot(device, slot);
    if (!s) return false;
    delete_sprite(device, slot);
    if (image.width <= 0 || image.height <= 0 || !image_size_acceptable(image.width, image.height))
        return false;
    const bool font = slot >= kFontSlotBase;
    const int32_t tw = texture_side(image.width);
    const int32_t th = texture_side(image.height);
    if (!upload_texture(image, 0, 0, 0, 0, s->texture, font ? nullptr : &s->mipmapped_texture,
                        normal_map && !font, font)) {
        delete_sprite(device, slot);
        return false;
    }
    s->texture_width = static_cast<int16_t>(tw);
    s->texture_height = static_cast<int16_t>(th);
    s->width = static_cast<int16_t>(image.width);
    s->height = static_cast<int16_t>(image.height);
    s->u_extent = static_cast<float>(image.width) / static_cast<float>(tw);
    s->v_extent = static_cast<float>(image.height) / static_cast<float>(th);
    // The upload bound the new texture behind the device's back.
    device.bound_sprite = -1;
    return true;
}

bool load_image_into_slot(OpenGLRainbows& device, int32_t slot, const char* path,
                          int32_t colour_key, bool normal_map) {
    flush_draw_batch(device);
    if (!sprite_slot(device, slot)) return false;
    delete_sprite(device, slot);
    ImageBuffer image;
    if (!load_image_file(image, path, colour_key)) return false;
    return create_sprite_from_image(device, slot, image, normal_map);
}

const uint8_t* sprite_alpha_mask(OpenGLRainbows& device, int32_t slot) {
    SpriteSlot* s = sprite_slot(device, slot);
    if (!s || s->width <= 0 || s->texture == 0) return nullptr;
    if (device.pixel_copies[slot]) return device.pixel_copies[slot];
    glBindTexture(GL_TEXTURE_2D, s->texture);
    device.bound_sprite = -1;
    GLint tw = 0, th = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
    if (tw != s->texture_width || th != s->texture_height) return nullptr;
    const size_t bytes = std::max<size_t>(64, static_cast<size_t>(tw) * th);
    uint8_t* mask = new (std::nothrow) uint8_t[bytes]();
    if (!mask) return nullptr;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, mask);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    device.pixel_copies[slot] = mask;
    return mask;
}

// ---- commands ------------------------------------------------------------------

namespace {

bool command_slot(int32_t slot) { return slot >= 0 && slot < kSpriteCommandSlots; }

// The name as loaders read it: from disk, or unpacked from the media archive.
bool resolve_image_name(const RtString& file_name, std::string& path) {
    return resolve_media_path(media_archives().memory_files, file_name.c_str(), path, true);
}

void load_sprite_file(const RtString& file_name, int32_t slot, bool normal_map) {
    clear_error();
    OpenGLRainbows* device = graphics_device();
    if (!device || !command_slot(slot)) {
        set_error(kErrNoSuchFile);
        return;
    }
    delete_sprite(*device, slot);
    if (file_name.empty()) return;
    std::string path;
    if (!resolve_image_name(file_name, path) ||
        !load_image_into_slot(*device, slot, path.c_str(),
                              static_cast<int32_t>(device->transparency_colour), normal_map))
        set_error(kErrNoSuchFile);
}

}  // namespace

void load_sprite(const RtString& file_name, int32_t slot) { load_sprite_file(file_name, slot, false); }

void load_bump_sprite(const RtString& file_name, int32_t slot) {
    load_sprite_file(file_name, slot, true);
}

void delete_sprite(int32_t slot) {
    if (OpenGLRainbows* device = graphics_device(); device && command_slot(slot))
        delete_sprite(*device, slot);
}

void get_sprite_size(int32_t slot, int32_t& width, int32_t& height) {
    width = height = 0;
    OpenGLRainbows* device = graphics_device();
    if (!device || !command_slot(slot)) return;
    const SpriteSlot& s = sprite_table(*device)[slot];
    width = s.width;
    height = s.height;
}

void get_sprite_size(double slot, double& width, double& height) {
    int32_t w = 0, h = 0;
    // Truncated toward zero; numbers beyond the table name no slot.
    if (slot > -1.0 && slot < kSpriteCommandSlots) get_sprite_size(static_cast<int32_t>(slot), w, h);
    width = w;
    height = h;
}

uint32_t sprite_texture_name(int32_t slot) {
    OpenGLRainbows* device = graphics_device();
    if (!device || !command_slot(slot)) return 0;
    return sprite_table(*device)[slot].texture;
}

int32_t free_sprite_index() {
    OpenGLRainbows* device = graphics_device();
    if (!device) return -1;
    const SpriteSlot* table = sprite_table(*device);
    for (int32_t slot = kFontSlotBase - 1; slot >= 0; --slot)
        if (table[slot].width == 0) return slot;
    return -1;
}

int32_t sprite_from_array(const IntArray& pixels, int32_t slot, int32_t width, int32_t height) {
    OpenGLRainbows* device = graphics_device();
    if (!device || !command_slot(slot) || !image_size_acceptable(width, height) ||
        static_cast<int64_t>(pixels.count) != static_cast<int64_t>(width) * height)
        return 0;
    ImageBuffer image;
    if (!allocate_image(image, width, height)) return 0;
    uint8_t* out = image.pixels.data();
    for (const int32_t value : pixels) {
        const uint32_t v = static_cast<uint32_t>(value);
        *out++ = v & 0xFF;
        *out++ = (v >> 8) & 0xFF;
        *out++ = (v >> 16) & 0xFF;
        *out++ = v >> 24;
    }
    return create_sprite_from_image(*device, slot, image, false) ? 1 : 0;
}

bool image_to_array(const RtString& file_name, int32_t& width, int32_t& height, IntArray& pixels) {
    OpenGLRainbows* device = graphics_device();
    const int32_t key = device ? static_cast<int32_t>(device->transparency_colour) : 0x8000FF;
    std::string path;
    ImageBuffer image;
    if (!resolve_image_name(file_name, path) || !load_image_file(image, path, key)) return false;
    width = image.width;
    height = image.height;
    array_dim_exact(pixels, width * height);
    const uint8_t* in = image.pixels.data();
    for (int32_t& value : pixels) {
        value = static_cast<int32_t>(static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
                                     (static_cast<uint32_t>(in[2]) << 16) |
                                     (static_cast<uint32_t>(in[3]) << 24));
        in += 4;
    }
    return true;
}

void set_transparency_colour(int32_t colour) {
    if (OpenGLRainbows* device = graphics_device()) {
        device->transparency_colour = static_cast<uint32_t>(colour);
        device->font_transparency_colour = static_cast<uint32_t>(colour);
    }
}

}  // namespace tvk
