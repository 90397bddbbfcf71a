#include "runtime/gfx/sprite_store.h"

#include <GL/gl.h>

#include <algorithm>
#include <new>

#include "runtime/gfx/image_file.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/texture_upload.h"

namespace tvk {

SpriteSlot* sprite_table(OpenGLRainbows& device) {
    SpriteTable& table = device.sprites;
    if (table.slots.empty()) {
        table.slots.resize(kSpriteSlotCount);
        table.pixel_copies.resize(kSpriteSlotCount);
        table.mipmap_owed.resize(kSpriteSlotCount);
    }
    return table.slots.data();
}

SpriteSlot* sprite_slot(OpenGLRainbows& device, int32_t slot) {
    if (slot < 0 || slot >= kSpriteSlotCount) return nullptr;
    return &sprite_table(device)[slot];
}

void delete_all_sprites(OpenGLRainbows& device) {
    flush_draw_batch(device);
    if (device.sprites.slots.empty()) return;
    for (int32_t slot = 0; slot < kSpriteCommandSlots; ++slot) delete_sprite(device, slot);
}

void free_sprite_table(OpenGLRainbows& device) {
    flush_draw_batch(device);
    device.sprites = SpriteTable{};
}

namespace {

bool in_table(const OpenGLRainbows& device, int32_t slot) {
    return slot >= 0 && static_cast<size_t>(slot) < device.sprites.slots.size();
}

// Makes the mipmapped copy the slot owes from its texture's level 0, which holds
// exactly the texels the load uploaded; true when it bound a texture.
bool make_owed_mipmap(OpenGLRainbows& device, int32_t slot) {
    if (!in_table(device, slot)) return false;
    uint8_t& owed = device.sprites.mipmap_owed[static_cast<size_t>(slot)];
    if (!owed) return false;
    owed = 0;
    SpriteSlot& s = device.sprites.slots[static_cast<size_t>(slot)];
    if (s.texture == 0 || s.texture_width <= 0 || s.texture_height <= 0) return false;
    flush_draw_batch(device);
    std::vector<uint8_t> texels;
    try {
        texels.resize(static_cast<size_t>(s.texture_width) * static_cast<size_t>(s.texture_height) * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    upload_mipmapped_texture(std::move(texels), s.texture_width, s.texture_height, s.mipmapped_texture);
    return true;
}

}  // namespace

void free_pixel_copy(OpenGLRainbows& device, int32_t slot) {
    if (!in_table(device, slot)) return;
    if (make_owed_mipmap(device, slot)) device.drawing.bound_sprite = -1;
    device.sprites.pixel_copies[static_cast<size_t>(slot)].reset();
}

uint32_t sprite_mipmapped_texture(OpenGLRainbows& device, int32_t slot) {
    if (!in_table(device, slot)) return 0;
    make_owed_mipmap(device, slot);
    return device.sprites.slots[static_cast<size_t>(slot)].mipmapped_texture;
}

void delete_sprite(OpenGLRainbows& device, int32_t slot) {
    flush_draw_batch(device);
    SpriteSlot* s = sprite_slot(device, slot);
    if (!s) return;
    device.sprites.mipmap_owed[static_cast<size_t>(slot)] = 0;
    device.sprites.pixel_copies[static_cast<size_t>(slot)].reset();
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
    if (!upload_texture(image, 0, 0, 0, 0, s->texture, normal_map && !font, font)) {
        delete_sprite(device, slot);
        return false;
    }
    s->texture_width = static_cast<int16_t>(tw);
    s->texture_height = static_cast<int16_t>(th);
    s->width = static_cast<int16_t>(image.width);
    s->height = static_cast<int16_t>(image.height);
    s->u_extent = static_cast<float>(image.width) / static_cast<float>(tw);
    s->v_extent = static_cast<float>(image.height) / static_cast<float>(th);
    device.sprites.mipmap_owed[static_cast<size_t>(slot)] = font ? 0 : 1;
    // The upload bound the new texture behind the device's back.
    device.drawing.bound_sprite = -1;
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
    std::unique_ptr<uint8_t[]>& copy = device.sprites.pixel_copies[static_cast<size_t>(slot)];
    if (copy) return copy.get();
    // Reading the texture back binds it, and a render target's sprite may still have
    // gathered draws to receive.
    flush_draw_batch(device);
    glBindTexture(GL_TEXTURE_2D, s->texture);
    device.drawing.bound_sprite = -1;
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
    copy.reset(mask);
    return mask;
}

}  // namespace tvk
