// Binding sprite textures, drawing single quads and adding textured draws to the
// draw batch.
#include "runtime/gfx/sprite_drawing.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/scene_3d.h"

namespace tvk {

void bind_sprite(OpenGLRainbows& device, int32_t slot, int32_t secondary, int32_t flag,
                 const SpriteSlot* table) {
    if (slot >= kSpriteSlotCount) slot = -1;
    if (secondary >= kSpriteSlotCount) secondary = -1;
    // With the flag the mipmapped copies are drawn; one still owed is made here, on
    // unit 0 and before the units are switched.
    uint32_t texture = 0, secondary_texture = 0;
    if (slot >= 0) texture = flag ? sprite_mipmapped_texture(device, slot) : sprite_slot(device, slot)->texture;
    if (secondary >= 0 && slot >= 0) {
        if (table) {
            secondary_texture = flag ? table[secondary].mipmapped_texture : table[secondary].texture;
        } else {
            secondary_texture =
                flag ? sprite_mipmapped_texture(device, secondary) : sprite_slot(device, secondary)->texture;
        }
    }
    // Unit 1 is off whenever the device records no secondary sprite. Switching units
    // makes the driver flush, so a 2D draw that finds it off leaves it alone.
    DrawingState& drawing = device.drawing;
    const bool unit1_was_off = drawing.secondary_sprite < 0 || drawing.bound_sprite < 0;
    drawing.bound_sprite = slot;
    drawing.secondary_sprite = secondary;
    drawing.secondary_texture_flag = flag;
    const GlExtensions& ext = gl_extensions();
    if (ext.glActiveTextureARB && !(unit1_was_off && (secondary < 0 || slot < 0))) {
        // The state cache follows unit 0 only; unit 1 is switched here directly.
        ext.glActiveTextureARB(GL_TEXTURE1_ARB);
        if (secondary < 0 || slot < 0) {
            glDisable(GL_TEXTURE_2D);
        } else {
            glBindTexture(GL_TEXTURE_2D, secondary_texture);
            glEnable(GL_TEXTURE_2D);
        }
        ext.glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    if (slot < 0) {
        gl_disable(device, GlCap::texture_2d);
        if (!ext.glActiveTextureARB) gl_enable(device, GlCap::colour_material);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    gl_enable(device, GlCap::texture_2d);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

namespace {

// Both filters of the bound texture: linear, or the nearest texel.
void set_texture_filter(bool linear) {
    const GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

}  // namespace

void apply_smoothing(const OpenGLRainbows& device) { set_texture_filter(device.drawing.smoothing != 0); }

void draw_quad(OpenGLRainbows& device, const QuadVertex* vertices) {
    const bool textured = device.drawing.bound_sprite >= 0;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(QuadVertex), &vertices[0].x);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(QuadVertex), &vertices[0].u);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    if (textured) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

namespace {

// The filter of a quad that maps the sprite's texels one to one onto pixels (an
// unscaled sprite or frame at an integer position). Every pixel centre then lies on
// a texel centre, where linear filtering returns that texel unchanged, so nearest
// filtering draws the same pixels, much faster in a software renderer. It holds on
// the upright 2D projection (one unit per pixel, on the window and in render
// targets alike) and without a shader program, which may sample anywhere. Font
// slots keep the smoothing filter: their text draws use whatever filter the
// texture was left with.
int8_t unscaled_quad_filter(const OpenGLRainbows& device, int32_t slot) {
    if (!device.drawing.smoothing) return 0;
    if (!device.draw_batch.unscaled_nearest || device.screen.orientation != 0 || slot >= kFontSlotBase)
        return 1;
    const Scene3D* scene = scene_3d();
    if ((scene && scene->in_3d_mode) || device.shaders.current >= 0) return 1;
    return 0;
}

}  // namespace

void batch_textured(OpenGLRainbows& device, int32_t slot, BatchPrimitive primitive,
                    const QuadVertex* vertices, int32_t count) {
    DrawBatchKey key;
    key.primitive = primitive;
    key.texture = sprite_slot(device, slot)->texture;
    key.clamp = primitive == BatchPrimitive::fans;
    switch (primitive) {
    case BatchPrimitive::quads: key.filter = unscaled_quad_filter(device, slot); break;
    case BatchPrimitive::strips: key.filter = -1; break;
    default: key.filter = static_cast<int8_t>(device.drawing.smoothing); break;
    }
    if (!batch_accepts(device.draw_batch, key)) {
        flush_draw_batch(device);
        bind_sprite(device, slot, -1, 0);
        if (key.filter >= 0) set_texture_filter(key.filter != 0);
        if (key.clamp) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
    }
    batch_add(device, key, vertices, count);
}

}  // namespace tvk
