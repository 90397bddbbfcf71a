#pragma once
// The sprite commands of the compiled program, on the process's device: loading
// and deleting sprites, their sizes and animation frame sizes, conversions between
// sprites and integer pixel arrays, the collision tests and the transparency
// colour. Slot numbers outside 0..65,535 name no sprite.
#include <cstdint>

#include "runtime/value/rt_array.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// Both set the error state: success, or "no such file" when the name cannot be
// found or decoded (the slot is then empty). An empty name only empties the slot.
void load_sprite(const RtString& file_name, int32_t slot);
// The picture becomes a normal map of the height field in its blue bytes.
void load_bump_sprite(const RtString& file_name, int32_t slot);
void delete_sprite(int32_t slot);
// (0, 0) for an empty slot; the floating form truncates its slot number.
void get_sprite_size(int32_t slot, int32_t& width, int32_t& height);
void get_sprite_size(double slot, double& width, double& height);
uint32_t sprite_texture_name(int32_t slot);
// The highest empty slot below the font slots; -1 when there is none.
int32_t free_sprite_index();
// The integers are R + G*256 + B*65536 + A*16777216 per pixel, rows top first; the
// array must hold exactly width * height of them. 1 on success.
int32_t sprite_from_array(const IntArray& pixels, int32_t slot, int32_t width, int32_t height);
bool image_to_array(const RtString& file_name, int32_t& width, int32_t& height, IntArray& pixels);
// Sets the colour key of later sprite loads and primitives, and of font loads.
void set_transparency_colour(int32_t colour);

// Animation frames: a sprite's picture cut into frames of this size, counted
// along its rows.
void set_anim_frame_size(int32_t slot, int32_t frame_width, int32_t frame_height);
void load_anim(const RtString& file_name, int32_t slot, int32_t frame_width, int32_t frame_height);

// 1 when an opaque pixel of one sprite (or frame) placed at its position lies on an
// opaque pixel of the other, else 0.
int32_t sprite_collision(int32_t slot_a, int32_t xa, int32_t ya, int32_t slot_b, int32_t xb,
                         int32_t yb);
int32_t anim_collision(int32_t slot_a, int32_t frame_a, int32_t xa, int32_t ya, int32_t slot_b,
                       int32_t frame_b, int32_t xb, int32_t yb);

}  // namespace tvk
