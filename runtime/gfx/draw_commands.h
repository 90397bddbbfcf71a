#pragma once
// The drawing commands of the compiled program, on the process's device: blending
// and alpha, sprites plain, stretched, zoomed and rotated, animation frames, and
// triangle batches (polyvectors). Slots outside the table draw nothing, as do empty
// slots. Sprites, frames and text are gathered in the draw batch where they can
// be; the last three commands are for programs that mix their own OpenGL calls
// with the runtime's drawing.
#include <cstdint>

namespace tvk {

// 0: blending off. Negative: normal alpha blending with draw alpha -mode; positive:
// additive blending with draw alpha mode (both at most 1).
void set_alpha_mode(double mode);
// Pixels with alpha at or below the threshold are not drawn; 1 or more switches the
// test off.
void set_alpha_test(double threshold);
void set_smoothing(int32_t on);

void draw_sprite(int32_t slot, int32_t x, int32_t y);
void draw_sprite_stretched(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height);
void draw_sprite_zoomed(int32_t slot, int32_t x, int32_t y, double zoom_x, double zoom_y);
void draw_sprite_rotozoom(int32_t slot, int32_t x, int32_t y, double angle, double zoom = 1.0);

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

// Draws what the draw batch holds.
void flush_draw_batch();
// Off, each draw goes to OpenGL as soon as it is made.
void set_draw_batching(bool on);
// On by default: unscaled sprites sample the nearest texel, which gives the pixels of
// linear filtering (see draw_batch.h); off, for comparing.
void set_unscaled_nearest(bool on);

}  // namespace tvk
