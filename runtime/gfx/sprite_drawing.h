#pragma once
// Drawing on the graphics device: blending and alpha state, sprites plain,
// stretched, zoomed and rotated, animation frames, triangle batches
// (polyvectors) and the untextured primitives, plus reading a screen pixel.
// Every OpenGL capability switch goes through the gl_state_cache.
#include <cstdint>

#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/rt_string.h"

namespace tvk {

struct SpriteSlot;

// Makes slot's texture current on unit 0 (negative: untextured) and, with
// multitexturing, secondary's on unit 1. flag picks the mipmapped textures; table,
// when given, supplies the secondary slot's textures instead of the device's table.
void bind_sprite(OpenGLRainbows& device, int32_t slot, int32_t secondary, int32_t flag,
                 const SpriteSlot* table = nullptr);
// A triangle fan over four corners, textured when a sprite is bound; the bound
// texture is clamped to its edges.
void draw_quad(OpenGLRainbows& device, const QuadVertex* vertices);
// Both filters of the bound texture from the smoothing flag.
void apply_smoothing(const OpenGLRainbows& device);
// Adds one textured draw of slot (which must hold an image) to the draw batch,
// first flushing it and setting slot's texture state when the batch holds other
// draws: quads repeat the texture and apply the smoothing flag (nearest where it
// gives the same pixels, see set_unscaled_nearest); fans clamp it and apply the
// flag; strips (text) keep the texture's own filtering.
void batch_textured(OpenGLRainbows& device, int32_t slot, BatchPrimitive primitive,
                    const QuadVertex* vertices, int32_t count);

// Commands of the compiled program, on the process's device. Slots outside the
// table draw nothing, as do empty slots.
void set_alpha_mode(double mode);
void set_alpha_test(double threshold);
void set_smoothing(int32_t on);
void draw_sprite(int32_t slot, int32_t x, int32_t y);
void draw_sprite_stretched(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height);
void draw_sprite_zoomed(int32_t slot, int32_t x, int32_t y, double zoom_x, double zoom_y);
void draw_sprite_rotozoom(int32_t slot, int32_t x, int32_t y, double angle, double zoom = 1.0);

void set_anim_frame_size(int32_t slot, int32_t frame_width, int32_t frame_height);
void load_anim(const RtString& file_name, int32_t slot, int32_t frame_width, int32_t frame_height);
void draw_anim_frame(int32_t slot, int32_t frame, int32_t x, int32_t y);
void draw_anim_frame_rotozoom(int32_t slot, int32_t frame, int32_t x, int32_t y, double angle,
                              double zoom);
void draw_anim_frame_stretched(int32_t slot, int32_t frame, int32_t x, int32_t y, int32_t width,
                               int32_t height);

// Polyvector batch: mode 0 triangle fan, 1 triangles, 2 triangle strip.
void start_polyvector(int32_t slot, int32_t mode);
void add_polyvector_vertex(double x, double y, double tx, double ty, int32_t colour);
void new_polyvector_segment();
void end_polyvector();

// Untextured primitives in a packed colour; the transparency colour draws alpha 0.
void set_pixel(int32_t x, int32_t y, int32_t colour);
void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);
void draw_rect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);
// The packed colour (no alpha) of the screen pixel, or of the current render target's.
int32_t get_pixel(int32_t x, int32_t y);

}  // namespace tvk
