#pragma once
// Binding sprite textures and drawing textured quads on the graphics device: the
// layer under the drawing commands (draw_commands.h, text_commands.h), the
// backgrounds and the render targets. Every OpenGL capability switch goes through
// the gl_state_cache.
#include <cstdint>

#include "runtime/gfx/draw_batch.h"

namespace tvk {

class OpenGLRainbows;
struct SpriteSlot;

// Makes slot's texture current on unit 0 (negative: untextured) and, with
// multitexturing, secondary's on unit 1. flag picks the mipmapped textures; table,
// when given, supplies the secondary slot's textures instead of the device's table.
// The caller has flushed the draw batch.
void bind_sprite(OpenGLRainbows& device, int32_t slot, int32_t secondary, int32_t flag,
                 const SpriteSlot* table = nullptr);
// A triangle fan over four corners, textured when a sprite is bound; the bound
// texture is clamped to its edges. The caller has flushed the draw batch.
void draw_quad(OpenGLRainbows& device, const QuadVertex* vertices);
// Both filters of the bound texture from the smoothing flag. The caller has flushed
// the draw batch.
void apply_smoothing(const OpenGLRainbows& device);
// Adds one textured draw of slot (which must hold an image) to the draw batch,
// first flushing it and setting slot's texture state when the batch holds other
// draws: quads repeat the texture and apply the smoothing flag (nearest where it
// gives the same pixels, see set_unscaled_nearest); fans clamp it and apply the
// flag; strips (text) keep the texture's own filtering.
void batch_textured(OpenGLRainbows& device, int32_t slot, BatchPrimitive primitive,
                    const QuadVertex* vertices, int32_t count);

}  // namespace tvk
