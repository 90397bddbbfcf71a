#include "runtime/gfx/targets/render_target.h"

#include <GL/gl.h>

#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/targets/back_buffer_copy.h"
#include "runtime/gfx/texture_upload.h"

namespace tvk {

namespace {

RenderTarget* target_at(OpenGLRainbows& device, int32_t index) {
    if (index < 0 || index >= kRenderTargetCount) return nullptr;
    return &device.targets.table[static_cast<size_t>(index)];
}

const RenderTarget* target_at(const OpenGLRainbows& device, int32_t index) {
    if (index < 0 || index >= kRenderTargetCount) return nullptr;
    return &device.targets.table[static_cast<size_t>(index)];
}

// The smallest power of two at least n and at least 2.
int32_t target_side(int32_t n) {
    int32_t side = 2;
    while (side < n) side *= 2;
    return side;
}

// The emulation paints and restores whole areas: it draws opaque and unblended
// whatever blending and alpha the program has set, and puts them back afterwards.
class PlainDrawing {
public:
    explicit PlainDrawing(OpenGLRainbows& device)
        : device_(device), blend_(glIsEnabled(GL_BLEND) == GL_TRUE), alpha_(device.drawing.draw_alpha) {
        gl_disable(device_, GlCap::blend);
        device_.drawing.draw_alpha = 1.0f;
        glColor4f(1, 1, 1, 1);
    }
    ~PlainDrawing() {
        gl_set(device_, GlCap::blend, blend_);
        device_.drawing.draw_alpha = alpha_;
        glColor4f(1, 1, 1, alpha_);
    }
    PlainDrawing(const PlainDrawing&) = delete;
    PlainDrawing& operator=(const PlainDrawing&) = delete;

private:
    OpenGLRainbows& device_;
    bool blend_;
    float alpha_;
};

// The window area, counted from the bottom as OpenGL counts, under the viewport that
// covers the whole target.
void target_area(OpenGLRainbows& device, int32_t width, int32_t height, GLint area[4]) {
    set_viewport(device, 0, 0, width, height);
    glGetIntegerv(GL_VIEWPORT, area);
}

// Emulation on the back buffer: the target's area of the window is saved, then shows
// the target's present content, so that drawing goes on where it left off.
void begin_emulation(OpenGLRainbows& device, RenderTarget& target, int32_t width, int32_t height) {
    GLint area[4];
    target_area(device, width, height, area);
    copy_back_buffer_to_sprite(device, kTargetScreenSaveSlot, area[0], area[1], width, height,
                               CopyAlpha::opaque);
    if (graphics_device() == &device) {
        PlainDrawing plain(device);
        draw_rect(0, 0, width, height, static_cast<int32_t>(device.drawing.transparency_colour));
        draw_sprite(target.sprite, 0, 0);
    }
    target.emulated = 1;
}

// The drawing goes into the target's sprite and the saved window area comes back.
void end_emulation(OpenGLRainbows& device, RenderTarget& target) {
    target.emulated = 0;
    const SpriteSlot* s = sprite_slot(device, target.sprite);
    if (!s || s->width <= 0) return;
    GLint area[4];
    target_area(device, s->width, s->height, area);
    copy_back_buffer_to_sprite(device, target.sprite, area[0], area[1], s->width, s->height,
                               CopyAlpha::transparency);
    if (graphics_device() == &device) {
        PlainDrawing plain(device);
        draw_rect(0, 0, s->texture_width, s->texture_height, 0);
        draw_sprite(kTargetScreenSaveSlot, 0, 0);
    }
}

}  // namespace

void free_render_targets(OpenGLRainbows& device) {
    flush_draw_batch(device);
    for (RenderTarget& target : device.targets.table) delete_framebuffer(target);
    device.targets = RenderTargets{};
}

void create_render_target(OpenGLRainbows& device, int32_t index, int32_t sprite, int32_t width,
                          int32_t height) {
    flush_draw_batch(device);
    RenderTarget* target = target_at(device, index);
    if (!target || sprite < 0 || sprite >= kSpriteCommandSlots) return;
    if (width > max_texture_size() || height > max_texture_size()) return;
    // The target is rebuilt under any drawing still going into it.
    if (device.targets.current == index) end_render_target(device);

    const int32_t tw = target_side(width), th = target_side(height);
    if (!make_sprite_texture(device, sprite, tw, th)) return;
    SpriteSlot* s = sprite_slot(device, sprite);
    s->width = static_cast<int16_t>(width > 0 ? width : 0);
    s->height = static_cast<int16_t>(height > 0 ? height : 0);
    s->u_extent = static_cast<float>(s->width) / static_cast<float>(tw);
    s->v_extent = static_cast<float>(s->height) / static_cast<float>(th);

    create_framebuffer(*target, tw, th, s->texture, 1);
    target->sprite = sprite;
}

void use_render_target(OpenGLRainbows& device, int32_t index) {
    flush_draw_batch(device);
    end_render_target(device);
    RenderTarget* target = target_at(device, index);
    if (!target || target->sprite < 0) return;
    const SpriteSlot* s = sprite_slot(device, target->sprite);
    const int32_t width = s->width, height = s->height;

    device.targets.current = index;
    if (bind_framebuffer(*target)) {
        set_viewport(device, 0, 0, width, height);
    } else {
        begin_emulation(device, *target, width, height);
    }
    // The sprite's content is about to change.
    free_pixel_copy(device, target->sprite);
}

void end_render_target(OpenGLRainbows& device) {
    flush_draw_batch(device);
    if (RenderTarget* target = target_at(device, device.targets.current)) {
        if (target->emulated) {
            end_emulation(device, *target);
        } else {
            unbind_framebuffer(*target);
        }
    }
    device.targets.current = -1;
    set_viewport(device, 0, 0, 0, 0);
}

void render_target_size(const OpenGLRainbows& device, int32_t index, int32_t& width,
                        int32_t& height) {
    width = height = 0;
    const RenderTarget* target = target_at(device, index);
    if (!target) return;
    const std::vector<SpriteSlot>& slots = device.sprites.slots;
    if (target->sprite >= 0 && static_cast<size_t>(target->sprite) < slots.size()) {
        width = slots[static_cast<size_t>(target->sprite)].width;
        height = slots[static_cast<size_t>(target->sprite)].height;
    }
}

}  // namespace tvk
