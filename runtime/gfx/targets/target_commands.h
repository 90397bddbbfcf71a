#pragma once
// The render-target commands of the compiled program, on the process's device:
// drawing into a sprite instead of the window.
#include <cstdint>

namespace tvk {

// Makes the sprite slot a transparent black picture of width by height and binds
// target index (0..31) to it.
void create_render_target(int32_t index, int32_t sprite, int32_t width, int32_t height);
// Drawing goes into the target's sprite, with logical (0, 0) at its top-left
// corner; a negative index (or a target never created) draws on the window again.
void use_render_target(int32_t index);
// Drawing goes to the window again (presenting a frame does this too).
void end_render_target();

}  // namespace tvk
