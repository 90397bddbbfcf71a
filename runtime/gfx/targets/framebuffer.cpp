#include "runtime/gfx/targets/framebuffer.h"

#include <cstdio>

#include "runtime/gfx/gl_extensions.h"
#include "runtime/value/trace_log.h"

namespace tvk {

namespace {

void log_format(const char* format, int32_t a, int32_t b = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    log_line(text);
}

// Everything create_framebuffer calls. A driver that offers only some of them gets
// no framebuffer rather than a call through a null pointer.
bool entry_points_complete(const GlExtensions& g) {
    return g.glGenFramebuffersEXT && g.glGenRenderbuffersEXT && g.glBindRenderbufferEXT &&
           g.glRenderbufferStorageEXT && g.glCheckFramebufferStatusEXT && g.glBindFramebufferEXT &&
           g.glFramebufferTexture2DEXT && g.glFramebufferRenderbufferEXT;
}

void clear_gl_errors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

// Allocates depth storage, falling back to deeper and then shallower formats when
// the driver refuses the size.
void allocate_depth(const GlExtensions& g, int32_t width, int32_t height) {
    clear_gl_errors();
    g.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
    if (glGetError() != GL_INVALID_ENUM) return;
    log_line("depth 24 failed, try 32\n");
    g.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT32, width, height);
    if (glGetError() != GL_INVALID_ENUM) return;
    log_line("depth 32 failed, try 16\n");
    g.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT16, width, height);
}

}  // namespace

bool framebuffer_support() { return gl_extensions().framebuffers_available(); }

void delete_framebuffer(RenderTarget& target) {
    const GlExtensions& g = gl_extensions();
    unbind_framebuffer(target);
    if (target.framebuffer != 0 && g.glDeleteFramebuffersEXT)
        g.glDeleteFramebuffersEXT(1, &target.framebuffer);
    if (target.depth_renderbuffer != 0 && g.glDeleteRenderbuffersEXT)
        g.glDeleteRenderbuffersEXT(1, &target.depth_renderbuffer);
    const int32_t sprite = target.sprite;
    target = RenderTarget{};
    target.sprite = sprite;
}

int32_t create_framebuffer(RenderTarget& target, int32_t width, int32_t height, uint32_t texture,
                           int32_t with_depth) {
    delete_framebuffer(target);
    if (width < 1 || height < 1) {
        log_format("can't create FBO for neg dims %dx%d\n", width, height);
        return 0;
    }
    const GlExtensions& g = gl_extensions();
    if (!entry_points_complete(g)) return 0;

    g.glGenFramebuffersEXT(1, &target.framebuffer);
    if (target.framebuffer == 0) {
        log_line("glGenFramebuffersExt failed\n");
        return 0;
    }
    bind_framebuffer(target);

    if (with_depth) {
        g.glGenRenderbuffersEXT(1, &target.depth_renderbuffer);
        if (target.depth_renderbuffer == 0) {
            log_line("glGenRenderbuffersExt failed\n");
            delete_framebuffer(target);
            return 0;
        }
        g.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, target.depth_renderbuffer);
        allocate_depth(g, width, height);
        g.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                       GL_RENDERBUFFER_EXT, target.depth_renderbuffer);
        g.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    }
    g.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                texture, 0);

    const GLenum status = g.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT) {
        log_format("glBindRenderbufferExt failed %x\n", static_cast<int32_t>(status));
        // Drawing must not go on into a framebuffer that cannot take it.
        delete_framebuffer(target);
        return 0;
    }
    unbind_framebuffer(target);
    target.width = width;
    target.height = height;
    return 1;
}

int32_t bind_framebuffer(RenderTarget& target) {
    const GlExtensions& g = gl_extensions();
    if (!framebuffer_support() || !g.glBindFramebufferEXT || target.framebuffer == 0) return 0;
    if (target.saved_binding != -1) {
        log_line("Trying to rebind the same FBO again. Need to end first\n");
        return 0;
    }
    GLint current = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &current);
    target.saved_binding = current;
    g.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
    return 1;
}

void unbind_framebuffer(RenderTarget& target) {
    const GlExtensions& g = gl_extensions();
    if (target.saved_binding == -1) return;
    if (g.glBindFramebufferEXT)
        g.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(target.saved_binding));
    target.saved_binding = -1;
}

}  // namespace tvk
