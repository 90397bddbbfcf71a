#pragma once
// Render targets: drawing into a sprite instead of the window. Each of the device's
// 32 targets is bound to a sprite slot; drawing goes through a framebuffer object
// when the driver has them, and is emulated on the back buffer otherwise.
#include <array>
#include <cstdint>

#include "runtime/gfx/targets/framebuffer.h"

namespace tvk {

class OpenGLRainbows;

constexpr int32_t kRenderTargetCount = 32;
// The sprite slot that holds the screen area an emulated target draws over.
constexpr int32_t kTargetScreenSaveSlot = 65503;

struct RenderTargets {
    std::array<RenderTarget, kRenderTargetCount> table{};
    int32_t current = -1;   // -1: drawing goes to the window
};

// Deletes the targets' framebuffers (needs the GL context) and empties the table;
// for the device's destruction.
void free_render_targets(OpenGLRainbows& device);

// Makes the sprite slot a transparent black texture of power-of-two sides (at least
// 2) holding a width by height image, and gives target index a framebuffer on it.
// Indices outside 0..31 and slots outside the program's range do nothing.
void create_render_target(OpenGLRainbows& device, int32_t index, int32_t sprite, int32_t width,
                          int32_t height);
// Ends the current target; then, for 0..31, makes that target current so that
// drawing lands in its sprite with logical (0, 0) at the sprite's top-left corner.
// A negative index only ends the current target. A target never created is not
// made current.
void use_render_target(OpenGLRainbows& device, int32_t index);
// Ends the current target (its drawing is then in its sprite) and resets the
// viewport to the whole screen. Presenting a frame calls this first.
void end_render_target(OpenGLRainbows& device);

// The drawing size of target index: its sprite's width and height (0 for an
// index outside the table).
void render_target_size(const OpenGLRainbows& device, int32_t index, int32_t& width,
                        int32_t& height);

}  // namespace tvk
