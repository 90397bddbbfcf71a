#pragma once
// One remembered on/off state per OpenGL capability the runtime switches, so that
// redundant glEnable/glDisable calls are never issued. Every switch of these
// capabilities goes through here.
#include <cstdint>

namespace tvk {

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

void gl_enable(GlCap cap);
void gl_disable(GlCap cap);
void gl_set(GlCap cap, bool on);
// 1, 0 or kGlStateUnknown.
int32_t gl_state(GlCap cap);
// Marks every entry unknown (reset_2d_state does this).
void gl_state_cache_forget();

}  // namespace tvk
