// The sprite commands of the compiled program.
#include "runtime/gfx/sprite_commands.h"

#include <algorithm>
#include <string>

#include "runtime/files/media_archive.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_collision.h"
#include "runtime/value/error_state.h"

namespace tvk {

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
                              static_cast<int32_t>(device->drawing.transparency_colour), normal_map))
        set_error(kErrNoSuchFile);
}

}  // namespace

void load_sprite(const RtString& file_name, int32_t slot) { load_sprite_file(file_name, slot, false); }

void load_bump_sprite(const RtString& file_name, int32_t slot) {
    load_sprite_file(file_name, slot, true);
}

void delete_sprite(int32_t slot) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    if (command_slot(slot)) delete_sprite(*device, slot);
}

void get_sprite_size(int32_t slot, int32_t& width, int32_t& height) {
    width = height = 0;
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    if (!command_slot(slot)) return;
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
    if (!device) return 0;
    flush_draw_batch(*device);
    if (!command_slot(slot)) return 0;
    return sprite_table(*device)[slot].texture;
}

int32_t free_sprite_index() {
    OpenGLRainbows* device = graphics_device();
    if (!device) return -1;
    flush_draw_batch(*device);
    const SpriteSlot* table = sprite_table(*device);
    for (int32_t slot = kFontSlotBase - 1; slot >= 0; --slot)
        if (table[slot].width == 0) return slot;
    return -1;
}

int32_t sprite_from_array(const IntArray& pixels, int32_t slot, int32_t width, int32_t height) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return 0;
    flush_draw_batch(*device);
    if (!command_slot(slot) || !image_size_acceptable(width, height) ||
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
    if (device) flush_draw_batch(*device);
    const int32_t key = device ? static_cast<int32_t>(device->drawing.transparency_colour) : 0x8000FF;
    std::string path;
    ImageBuffer image;
    if (!resolve_image_name(file_name, path) || !load_image_file(image, path, key)) return false;
    width = image.width;
    height = image.height;
    image_to_packed_pixels(image, pixels);
    return true;
}

void set_transparency_colour(int32_t colour) {
    if (OpenGLRainbows* device = graphics_device()) {
        flush_draw_batch(*device);
        device->drawing.transparency_colour = static_cast<uint32_t>(colour);
        device->drawing.font_transparency_colour = static_cast<uint32_t>(colour);
    }
}

void set_anim_frame_size(int32_t slot, int32_t frame_width, int32_t frame_height) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    flush_draw_batch(*device);
    if (!command_slot(slot)) return;
    SpriteSlot* s = sprite_slot(*device, slot);
    if (s->width <= 0) return;
    s->frame_width = static_cast<int16_t>(std::clamp(frame_width, 0, 32767));
    s->frame_height = static_cast<int16_t>(std::clamp(frame_height, 0, 32767));
}

void load_anim(const RtString& file_name, int32_t slot, int32_t frame_width, int32_t frame_height) {
    load_sprite(file_name, slot);
    set_anim_frame_size(slot, frame_width, frame_height);
}

int32_t sprite_collision(int32_t slot_a, int32_t xa, int32_t ya, int32_t slot_b, int32_t xb,
                         int32_t yb) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return 0;
    flush_draw_batch(*device);
    return sprite_collision(*device, slot_a, xa, ya, slot_b, xb, yb);
}

int32_t anim_collision(int32_t slot_a, int32_t frame_a, int32_t xa, int32_t ya, int32_t slot_b,
                       int32_t frame_b, int32_t xb, int32_t yb) {
    OpenGLRainbows* device = graphics_device();
    if (!device) return 0;
    flush_draw_batch(*device);
    return anim_collision(*device, slot_a, frame_a, xa, ya, slot_b, frame_b, xb, yb);
}

}  // namespace tvk
