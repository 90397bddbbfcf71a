#pragma once
// One remembered on/off state per OpenGL capability the runtime switches, so that
// redundant glEnable/glDisable calls are never issued. Every switch of these
// capabilities goes through here. The cache mirrors the device's context, so the
// device holds it.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tvk {

class OpenGLRainbows;

enum class GlCap : uint8_t {
    blend,
    alpha_test,
    texture_2d,
    depth_test,
    cull_face,
    fog,
    lighting,
    colour_material,
    stencil_test,
    dither,
    line_smooth,
    point_smooth,
    polygon_smooth,
    normalize,
    polygon_offset_fill,
    polygon_offset_point,
    auto_normal,
    scissor_test,
    texture_gen_s,
    texture_gen_t,
    light0,
    count
};

// The entry value meaning "not known": the next switch is always issued.
constexpr int32_t kGlStateUnknown = 0x7F7F7F7F;

constexpr size_t kGlCapCount = static_cast<size_t>(GlCap::count);

struct GlStateCache {
    // 1, 0 or kGlStateUnknown per capability; all unknown for a new context.
    std::array<int32_t, kGlCapCount> entries = [] {
        std::array<int32_t, kGlCapCount> all{};
        all.fill(kGlStateUnknown);
        return all;
    }();
};

// A switch that changes the state flushes the device's draw batch first: the
// gathered draws were made with the old state.
void gl_enable(OpenGLRainbows& device, GlCap cap);
void gl_disable(OpenGLRainbows& device, GlCap cap);
void gl_set(OpenGLRainbows& device, GlCap cap, bool on);
// 1, 0 or kGlStateUnknown.
int32_t gl_state(const OpenGLRainbows& device, GlCap cap);
// Marks every entry unknown (reset_2d_state does this).
void gl_state_cache_forget(OpenGLRainbows& device);

}  // namespace tvk
