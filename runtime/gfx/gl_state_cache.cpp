#include "runtime/gfx/gl_state_cache.h"

#include <GL/gl.h>

#include <cstring>

#include "runtime/gfx/opengl_rainbows.h"

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
static_assert(sizeof kGlNames / sizeof kGlNames[0] == kGlCapCount);

}  // namespace

void gl_enable(OpenGLRainbows& device, GlCap cap) {
    int32_t& entry = device.gl_state.entries[static_cast<size_t>(cap)];
    if (entry != 1) {
        flush_draw_batch(device);
        glEnable(kGlNames[static_cast<size_t>(cap)]);
    }
    entry = 1;
}

void gl_disable(OpenGLRainbows& device, GlCap cap) {
    int32_t& entry = device.gl_state.entries[static_cast<size_t>(cap)];
    if (entry != 0) {
        flush_draw_batch(device);
        glDisable(kGlNames[static_cast<size_t>(cap)]);
    }
    entry = 0;
}

void gl_set(OpenGLRainbows& device, GlCap cap, bool on) {
    on ? gl_enable(device, cap) : gl_disable(device, cap);
}

int32_t gl_state(const OpenGLRainbows& device, GlCap cap) {
    return device.gl_state.entries[static_cast<size_t>(cap)];
}

void gl_state_cache_forget(OpenGLRainbows& device) {
    auto& entries = device.gl_state.entries;
    std::memset(entries.data(), 0x7F, sizeof(int32_t) * entries.size());
}

}  // namespace tvk
