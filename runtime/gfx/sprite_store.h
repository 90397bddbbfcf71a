#pragma once
// The sprite table of the graphics device: numbered slots holding power-of-two
// OpenGL textures made from decoded images, their sizes, the conversions between
// sprites and integer pixel arrays, and the pixel-exact collision test.
#include <cstdint>

#include "runtime/gfx/image_buffer.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/rt_array.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// Slots 65,504 to 65,535 hold the 32 fonts (font n is slot kFontSlotBase + n).
constexpr int32_t kFontSlotBase = 65504;
// Programs name slots 0 to 65,535; the table has one slot more.
constexpr int32_t kSpriteCommandSlots = 65536;

struct SpriteSlot {
    uint32_t texture = 0;             // power-of-two RGBA texture, 0 when empty
    uint32_t mipmapped_texture = 0;   // square mipmapped copy; never made for font slots
    float u_extent = 1.0f;            // width / texture width
    float v_extent = 1.0f;            // height / texture height
    int16_t texture_width = -1;
    int16_t texture_height = -1;
    int16_t width = 0;                // 0 = empty slot
    int16_t height = 0;
    int16_t frame_width = 0;          // animation frame size
    int16_t frame_height = 0;
};

// The device's table, allocated on first use with every slot empty.
SpriteSlot* sprite_table(OpenGLRainbows& device);
// The slot, or null for a number outside the table.
SpriteSlot* sprite_slot(OpenGLRainbows& device, int32_t slot);
// Deletes every slot's textures (needs the GL context)...
void delete_all_sprites(OpenGLRainbows& device);
// ...and frees the table and the pixel copies; for the device's destruction.
void free_sprite_table(OpenGLRainbows& device);

// Device operations.
bool create_sprite_from_image(OpenGLRainbows& device, int32_t slot, const ImageBuffer& image,
                              bool normal_map);
void delete_sprite(OpenGLRainbows& device, int32_t slot);
bool load_image_into_slot(OpenGLRainbows& device, int32_t slot, const char* path,
                          int32_t colour_key, bool normal_map);
// The alpha mask of the slot's texture (texture width * texture height bytes, rows
// bottom up as stored), read back once and kept until the slot is deleted; null for
// an empty slot.
const uint8_t* sprite_alpha_mask(OpenGLRainbows& device, int32_t slot);

// Commands of the compiled program, on the process's device.
void load_sprite(const RtString& file_name, int32_t slot);
void load_bump_sprite(const RtString& file_name, int32_t slot);
void delete_sprite(int32_t slot);
void get_sprite_size(int32_t slot, int32_t& width, int32_t& height);
void get_sprite_size(double slot, double& width, double& height);
uint32_t sprite_texture_name(int32_t slot);
int32_t free_sprite_index();
int32_t sprite_from_array(const IntArray& pixels, int32_t slot, int32_t width, int32_t height);
bool image_to_array(const RtString& file_name, int32_t& width, int32_t& height, IntArray& pixels);
int32_t sprite_collision(int32_t slot_a, int32_t xa, int32_t ya, int32_t slot_b, int32_t xb,
                         int32_t yb);
int32_t anim_collision(int32_t slot_a, int32_t frame_a, int32_t xa, int32_t ya, int32_t slot_b,
                       int32_t frame_b, int32_t xb, int32_t yb);
void set_transparency_colour(int32_t colour);

}  // namespace tvk
