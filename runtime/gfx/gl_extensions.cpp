#include "runtime/gfx/gl_extensions.h"

#include <cstring>

#include "runtime/platform/window.h"

namespace tvk {

namespace {

template <typename Fn>
void fetch(Fn& slot, const char* name) {
    slot = reinterpret_cast<Fn>(platform::gl_proc_address(name));
}

}  // namespace

// Process-wide, not device state: these are the GL library's function addresses,
// which on this platform do not depend on the context they were fetched with. Each
// open_window fetches them again with its new context.
GlExtensions& gl_extensions() {
    static GlExtensions table;
    return table;
}

void load_extension_entry_points(const std::string& extensions) {
    GlExtensions& g = gl_extensions();
    fetch(g.glMultiDrawArrays, "glMultiDrawArrays");
    if (extensions.find("GL_ARB_multitexture") != std::string::npos) {
        fetch(g.glActiveTextureARB, "glActiveTextureARB");
        fetch(g.glMultiTexCoord2fARB, "glMultiTexCoord2fARB");
        fetch(g.glClientActiveTextureARB, "glClientActiveTextureARB");
        fetch(g.glGenBuffersARB, "glGenBuffersARB");
        fetch(g.glBindBufferARB, "glBindBufferARB");
        fetch(g.glBufferDataARB, "glBufferDataARB");
        fetch(g.glDeleteBuffersARB, "glDeleteBuffersARB");
        fetch(g.glMapBufferARB, "glMapBufferARB");
        fetch(g.glUnmapBufferARB, "glUnmapBufferARB");
        fetch(g.glGetBufferParameterivARB, "glGetBufferParameterivARB");
    }
    if (extensions.find("GL_ARB_fragment_program") != std::string::npos) {
        fetch(g.glCreateProgramObjectARB, "glCreateProgramObjectARB");
        fetch(g.glDeleteObjectARB, "glDeleteObjectARB");
        fetch(g.glCreateShaderObjectARB, "glCreateShaderObjectARB");
        fetch(g.glShaderSourceARB, "glShaderSourceARB");
        fetch(g.glCompileShaderARB, "glCompileShaderARB");
        fetch(g.glGetObjectParameterivARB, "glGetObjectParameterivARB");
        fetch(g.glAttachObjectARB, "glAttachObjectARB");
        fetch(g.glGetInfoLogARB, "glGetInfoLogARB");
        fetch(g.glLinkProgramARB, "glLinkProgramARB");
        fetch(g.glUseProgramObjectARB, "glUseProgramObjectARB");
        fetch(g.glGetUniformLocationARB, "glGetUniformLocationARB");
        fetch(g.glUniform1fARB, "glUniform1fARB");
        fetch(g.glUniform1iARB, "glUniform1iARB");
        fetch(g.glGetAttribLocationARB, "glGetAttribLocationARB");
        fetch(g.glVertexAttrib1fARB, "glVertexAttrib1fARB");
    }
}

bool load_framebuffer_entry_points() {
    GlExtensions& g = gl_extensions();
    fetch(g.glBindRenderbufferEXT, "glBindRenderbufferEXT");
    fetch(g.glDeleteRenderbuffersEXT, "glDeleteRenderbuffersEXT");
    fetch(g.glGenRenderbuffersEXT, "glGenRenderbuffersEXT");
    fetch(g.glRenderbufferStorageEXT, "glRenderbufferStorageEXT");
    fetch(g.glBindFramebufferEXT, "glBindFramebufferEXT");
    fetch(g.glDeleteFramebuffersEXT, "glDeleteFramebuffersEXT");
    fetch(g.glGenFramebuffersEXT, "glGenFramebuffersEXT");
    fetch(g.glCheckFramebufferStatusEXT, "glCheckFramebufferStatusEXT");
    fetch(g.glFramebufferTexture2DEXT, "glFramebufferTexture2DEXT");
    fetch(g.glFramebufferRenderbufferEXT, "glFramebufferRenderbufferEXT");
    fetch(g.glGetFramebufferAttachmentParameterivEXT, "glGetFramebufferAttachmentParameterivEXT");
    fetch(g.glBlitFramebufferEXT, "glBlitFramebufferEXT");
    return g.framebuffers_available();
}

bool extension_listed(const std::string& list, const char* name) {
    const size_t n = std::strlen(name);
    if (n == 0) return false;
    for (size_t at = list.find(name); at != std::string::npos; at = list.find(name, at + 1)) {
        const bool starts = at == 0 || list[at - 1] == ' ';
        const bool ends = at + n == list.size() || list[at + n] == ' ';
        if (starts && ends) return true;
    }
    return false;
}

}  // namespace tvk
