#include "runtime/gfx/gl_state_cache.h"

#include <GL/gl.h>

#include <array>
#include <cstring>

#include "runtime/gfx/draw_batch.h"

namespace tvk {

namespace {

constexpr GLenum kGlNames[] = {
    GL_BLEND,          GL_ALPHA_TEST,     GL_TEXTURE_2D,          GL_DEPTH_TEST,
    GL_CULL_FACE,      GL_FOG,            GL_LIGHTING,            GL_COLOR_MATERIAL,
    GL_STENCIL_TEST,   GL_DITHER,         GL_LINE_SMOOTH,         GL_POINT_SMOOTH,
    GL_POLYGON_SMOOTH, GL_NORMALIZE,      GL_POLYGON_OFFSET_FILL, GL_POLYGON_OFFSET_POINT,
    GL_AUTO_NORMAL,    GL_SCISSOR_TEST,   GL_TEXTURE_GEN_S,       GL_TEXTURE_GEN_T,
    GL_LIGHT0,
};
static_assert(sizeof kGlNames / sizeof kGlNames[0] == static_cast<size_t>(GlCap::count));

std::array<int32_t, static_cast<size_t>(GlCap::count)>& entries() {
    static std::array<int32_t, static_cast<size_t>(GlCap::count)> table = [] {
        std::array<int32_t, static_cast<size_t>(GlCap::count)> t;
        t.fill(kGlStateUnknown);
        return t;
    }();
    return table;
}

}  // namespace

void gl_enable(GlCap cap) {
    int32_t& entry = entries()[static_cast<size_t>(cap)];
    if (entry != 1) {
        flush_draw_batch();   // the gathered draws were made with the old state
        glEnable(kGlNames[static_cast<size_t>(cap)]);
    }
    entry = 1;
}

void gl_disable(GlCap cap) {
    int32_t& entry = entries()[static_cast<size_t>(cap)];
    if (entry != 0) {
        flush_draw_batch();
        glDisable(kGlNames[static_cast<size_t>(cap)]);
    }
    entry = 0;
}

void gl_set(GlCap cap, bool on) { on ? gl_enable(cap) : gl_disable(cap); }

int32_t gl_state(GlCap cap) { return entries()[static_cast<size_t>(cap)]; }

void gl_state_cache_forget() {
    auto& table = entries();
    std::memset(table.data(), 0x7F, sizeof(int32_t) * table.size());
}

}  // namespace tvk
