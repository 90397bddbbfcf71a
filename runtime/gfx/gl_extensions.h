#pragma once
// OpenGL entry points beyond 1.1, fetched once the context exists; null where the
// driver lacks them, and the features that need them stay off.
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

namespace tvk {

struct GlExtensions {
    // Many draws of one primitive in one call (core since 1.4).
    PFNGLMULTIDRAWARRAYSPROC glMultiDrawArrays = nullptr;
    // Multitexturing.
    PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
    // Vertex buffers.
    PFNGLGENBUFFERSARBPROC glGenBuffersARB = nullptr;
    PFNGLBINDBUFFERARBPROC glBindBufferARB = nullptr;
    PFNGLBUFFERDATAARBPROC glBufferDataARB = nullptr;
    PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB = nullptr;
    PFNGLMAPBUFFERARBPROC glMapBufferARB = nullptr;
    PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB = nullptr;
    PFNGLGETBUFFERPARAMETERIVARBPROC glGetBufferParameterivARB = nullptr;
    // Shader objects.
    PFNGLCREATEPROGRAMOBJECTARBPROC glCreateProgramObjectARB = nullptr;
    PFNGLDELETEOBJECTARBPROC glDeleteObjectARB = nullptr;
    PFNGLCREATESHADEROBJECTARBPROC glCreateShaderObjectARB = nullptr;
    PFNGLSHADERSOURCEARBPROC glShaderSourceARB = nullptr;
    PFNGLCOMPILESHADERARBPROC glCompileShaderARB = nullptr;
    PFNGLGETOBJECTPARAMETERIVARBPROC glGetObjectParameterivARB = nullptr;
    PFNGLATTACHOBJECTARBPROC glAttachObjectARB = nullptr;
    PFNGLGETINFOLOGARBPROC glGetInfoLogARB = nullptr;
    PFNGLLINKPROGRAMARBPROC glLinkProgramARB = nullptr;
    PFNGLUSEPROGRAMOBJECTARBPROC glUseProgramObjectARB = nullptr;
    PFNGLGETUNIFORMLOCATIONARBPROC glGetUniformLocationARB = nullptr;
    PFNGLUNIFORM1FARBPROC glUniform1fARB = nullptr;
    PFNGLUNIFORM1IARBPROC glUniform1iARB = nullptr;
    PFNGLGETATTRIBLOCATIONARBPROC glGetAttribLocationARB = nullptr;
    PFNGLVERTEXATTRIB1FARBPROC glVertexAttrib1fARB = nullptr;
    // Framebuffer objects.
    PFNGLBINDRENDERBUFFEREXTPROC glBindRenderbufferEXT = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC glDeleteRenderbuffersEXT = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC glGenRenderbuffersEXT = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC glRenderbufferStorageEXT = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC glBindFramebufferEXT = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC glDeleteFramebuffersEXT = nullptr;
    PFNGLGENFRAMEBUFFERSEXTPROC glGenFramebuffersEXT = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC glCheckFramebufferStatusEXT = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC glFramebufferTexture2DEXT = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC glFramebufferRenderbufferEXT = nullptr;
    PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC glGetFramebufferAttachmentParameterivEXT =
        nullptr;
    // Copying one framebuffer's rectangle into another's, scaled (the scaled screen).
    PFNGLBLITFRAMEBUFFEREXTPROC glBlitFramebufferEXT = nullptr;

    bool framebuffers_available() const { return glGenFramebuffersEXT != nullptr; }
};

// The process's one table of entry points.
GlExtensions& gl_extensions();

// Fetches the multitexture, vertex-buffer and shader-object entry points that the
// extension string announces (plain substring tests).
void load_extension_entry_points(const std::string& extensions);
// Fetches the framebuffer-object entry points whatever the extension string says;
// returns whether framebuffer objects are available.
bool load_framebuffer_entry_points();

// True when name appears in the blank-separated list as a whole word.
bool extension_listed(const std::string& list, const char* name);

}  // namespace tvk
