#pragma once
// The sprite table of the graphics device: numbered slots holding power-of-two
// OpenGL textures made from decoded images, and the alpha masks the collision test
// reads back from them.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

class OpenGLRainbows;

// Programs name slots 0 to 65,535; the table has one slot more.
constexpr int32_t kSpriteSlotCount = 65537;
constexpr int32_t kSpriteCommandSlots = 65536;
// Slots 65,504 to 65,535 hold the 32 fonts (font n is slot kFontSlotBase + n).
constexpr int32_t kFontSlotBase = 65504;

struct SpriteSlot {
    uint32_t texture = 0;             // power-of-two RGBA texture, 0 when empty
    uint32_t mipmapped_texture = 0;   // square mipmapped copy, made on first use (sprite_mipmapped_texture);
                                      // never made for font slots
    float u_extent = 1.0f;            // width / texture width
    float v_extent = 1.0f;            // height / texture height
    int16_t texture_width = -1;
    int16_t texture_height = -1;
    int16_t width = 0;                // 0 = empty slot
    int16_t height = 0;
    int16_t frame_width = 0;          // animation frame size
    int16_t frame_height = 0;
};

struct SpriteTable {
    // kSpriteSlotCount slots from first use on (sprite_table), every one empty.
    std::vector<SpriteSlot> slots;
    // Per slot, the alpha mask the collision test read back (sprite_alpha_mask),
    // freed with the slot and whenever its picture changes.
    std::vector<std::unique_ptr<uint8_t[]>> pixel_copies;
    // Per slot, 1 while the mipmapped copy of the picture as loaded is still owed.
    // Only drawing for the 3D side samples it, so it is made when a draw first asks
    // for it (or, from the picture as loaded, just before the picture changes),
    // not with every load: building it in software took longer than decoding.
    std::vector<uint8_t> mipmap_owed;
};

// The device's table, allocated on first use with every slot empty.
SpriteSlot* sprite_table(OpenGLRainbows& device);
// The slot, or null for a number outside the table.
SpriteSlot* sprite_slot(OpenGLRainbows& device, int32_t slot);
// Deletes every slot's textures (needs the GL context)...
void delete_all_sprites(OpenGLRainbows& device);
// ...and frees the table and the pixel copies; for the device's destruction.
void free_sprite_table(OpenGLRainbows& device);

bool create_sprite_from_image(OpenGLRainbows& device, int32_t slot, const ImageBuffer& image,
                              bool normal_map);
void delete_sprite(OpenGLRainbows& device, int32_t slot);
bool load_image_into_slot(OpenGLRainbows& device, int32_t slot, const char* path,
                          int32_t colour_key, bool normal_map);
// The alpha mask of the slot's texture (texture width * texture height bytes, rows
// bottom up as stored), read back once and kept until the slot is deleted; null for
// an empty slot.
const uint8_t* sprite_alpha_mask(OpenGLRainbows& device, int32_t slot);
// For a picture about to change: makes the mipmapped copy the slot still owes (from
// the picture as loaded, as every load once made it at once) and frees the slot's
// alpha mask; nothing for a number outside the table. Needs the GL context.
void free_pixel_copy(OpenGLRainbows& device, int32_t slot);
// The slot's mipmapped texture, made now from its texture when still owed; 0 for an
// empty slot, a font slot and a slot whose picture was grabbed from the screen.
// Binds textures behind the device's back.
uint32_t sprite_mipmapped_texture(OpenGLRainbows& device, int32_t slot);

}  // namespace tvk
