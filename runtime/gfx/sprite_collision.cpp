// Pixel-exact collision of two sprites (or animation frames) placed on the screen,
// tested on the alpha masks read back from their textures.
#include "runtime/gfx/sprite_collision.h"

#include <algorithm>

#include "runtime/gfx/sprite_store.h"

namespace tvk {
namespace {

// Where one sprite (or one of its frames) lies on the screen and which part of its
// image it shows there.
struct Placement {
    const SpriteSlot* slot = nullptr;
    const uint8_t* mask = nullptr;
    int64_t x = 0, y = 0;                 // screen position of the shown part
    int32_t width = 0, height = 0;        // size of the shown part
    int32_t image_x = 0, image_y = 0;     // its top-left corner in the image

    // True when the image pixel shown at screen (sx, sy) is not fully transparent.
    bool opaque_at(int64_t sx, int64_t sy) const {
        const int64_t px = image_x + sx - x;
        const int64_t py = image_y + sy - y;
        if (px < 0 || py < 0 || px >= slot->width || py >= slot->height) return false;
        // The texture holds the image bottom up.
        const int64_t row = slot->height - 1 - py;
        return mask[static_cast<size_t>(row) * slot->texture_width + px] != 0;
    }
};

bool place(OpenGLRainbows& device, int32_t slot, int32_t frame, bool animated, int32_t x, int32_t y,
           Placement& p) {
    if (slot < 0 || slot >= kSpriteCommandSlots) return false;
    const SpriteSlot& s = sprite_table(device)[slot];
    if (s.width <= 0 || s.height <= 0) return false;
    p.slot = &s;
    p.x = x;
    p.y = y;
    if (animated && s.frame_width > 0 && s.frame_height > 0) {
        const int32_t per_row = std::max(1, s.width / s.frame_width);
        const int32_t f = std::max(0, frame);
        p.width = s.frame_width;
        p.height = s.frame_height;
        p.image_x = (f % per_row) * s.frame_width;
        p.image_y = (f / per_row) * s.frame_height;
    } else {
        p.width = s.width;
        p.height = s.height;
    }
    return true;
}

int32_t collide(OpenGLRainbows& device, Placement& a, int32_t slot_a, Placement& b, int32_t slot_b) {
    // 64-bit so that positions near the ends of the integer range cannot overflow.
    const int64_t left = std::max(a.x, b.x);
    const int64_t right = std::min(a.x + a.width, b.x + b.width);
    const int64_t top = std::max(a.y, b.y);
    const int64_t bottom = std::min(a.y + a.height, b.y + b.height);
    if (left >= right || top >= bottom) return 0;
    a.mask = sprite_alpha_mask(device, slot_a);
    b.mask = sprite_alpha_mask(device, slot_b);
    if (!a.mask || !b.mask) return 0;
    auto hit = [&](int64_t x, int64_t y) { return a.opaque_at(x, y) && b.opaque_at(x, y); };
    // The centre first: overlapping sprites most often meet there.
    if (hit((left + right) / 2, (top + bottom) / 2)) return 1;
    // Then four interleaved passes, so that a large overlap finds a hit early.
    for (int64_t oy = 0; oy < 2; ++oy)
        for (int64_t ox = 0; ox < 2; ++ox)
            for (int64_t y = top + oy; y < bottom; y += 2)
                for (int64_t x = left + ox; x < right; x += 2)
                    if (hit(x, y)) return 1;
    return 0;
}

}  // namespace

int32_t sprite_collision(OpenGLRainbows& device, int32_t slot_a, int32_t xa, int32_t ya,
                         int32_t slot_b, int32_t xb, int32_t yb) {
    Placement a, b;
    if (!place(device, slot_a, 0, false, xa, ya, a) || !place(device, slot_b, 0, false, xb, yb, b))
        return 0;
    return collide(device, a, slot_a, b, slot_b);
}

int32_t anim_collision(OpenGLRainbows& device, int32_t slot_a, int32_t frame_a, int32_t xa,
                       int32_t ya, int32_t slot_b, int32_t frame_b, int32_t xb, int32_t yb) {
    Placement a, b;
    if (!place(device, slot_a, frame_a, true, xa, ya, a) ||
        !place(device, slot_b, frame_b, true, xb, yb, b))
        return 0;
    return collide(device, a, slot_a, b, slot_b);
}

}  // namespace tvk
