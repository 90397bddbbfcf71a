#include "runtime/gfx/targets/shader_programs.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <string>
#include <vector>

#include "runtime/files/file_record.h"
#include "runtime/files/media_archive.h"
#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/error_state.h"
#include "runtime/value/program_settings.h"

namespace tvk {

namespace {

bool shader_support(const GlExtensions& g) {
    return g.glCreateShaderObjectARB && g.glShaderSourceARB && g.glCompileShaderARB &&
           g.glCreateProgramObjectARB && g.glAttachObjectARB && g.glLinkProgramARB &&
           g.glGetObjectParameterivARB;
}

// The whole file as a zero-terminated text: from disk or a memory file, or unpacked
// from the media archive.
bool read_source(const RtString& file_name, std::string& text) {
    std::string path;
    if (!resolve_media_path(media_archives().memory_files, file_name.c_str(), path, true))
        return false;
    FileRecord record;
    if (!file_open_read(record, path.c_str())) return false;
    text.assign(static_cast<size_t>(record.size), '\0');
    const bool read = record.size == 0 || file_read(record, text.data(), record.size);
    file_close(record);
    return read;
}

void send_info_log(const OpenGLRainbows& device, const GlExtensions& g, GLhandleARB object) {
    GLint length = 0;
    if (!g.glGetInfoLogARB) return;
    g.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    std::vector<GLcharARB> log(static_cast<size_t>(length > 0 ? length : 0) + 1, 0);
    g.glGetInfoLogARB(object, static_cast<GLsizei>(log.size()), nullptr, log.data());
    shader_message(device, log.data());
}

// Compiles one shader file into object; false (with the log sent) on failure.
bool compile_shader(const OpenGLRainbows& device, const GlExtensions& g, GLenum kind,
                    const RtString& file_name, uint32_t& object, const char* failure) {
    std::string text;
    if (!read_source(file_name, text)) {
        shader_message(device, failure);
        return false;
    }
    object = g.glCreateShaderObjectARB(kind);
    const GLcharARB* source = text.c_str();
    g.glShaderSourceARB(object, 1, &source, nullptr);
    g.glCompileShaderARB(object);
    GLint compiled = 0;
    g.glGetObjectParameterivARB(object, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    if (compiled) return true;
    send_info_log(device, g, object);
    shader_message(device, failure);
    return false;
}

void delete_slot_objects(const GlExtensions& g, ShaderSlot& slot) {
    if (g.glDeleteObjectARB) {
        for (uint32_t object : {slot.program, slot.vertex, slot.fragment})
            if (object != 0) g.glDeleteObjectARB(object);
    }
    slot = ShaderSlot{};
}

void debug_channel_handler(const char* text) {
    if (runtime_settings().debug_mode == 0) return;
    debug_output(RtString((std::string(text) + "\n").c_str()));
}

// The current program's location of a uniform or attribute, or -1 with the two
// messages sent.
GLint current_location(const OpenGLRainbows& device, const RtString& name, bool uniform) {
    const ShaderTable& table = device.shaders;
    const GlExtensions& g = gl_extensions();
    if (table.current < 0) return -1;
    const auto lookup = uniform ? g.glGetUniformLocationARB : g.glGetAttribLocationARB;
    if (!lookup) return -1;
    const GLint location = lookup(table.slots[static_cast<size_t>(table.current)].program, name.c_str());
    if (location == -1) {
        shader_message(device, uniform ? "undefined uniform:" : "undefined attrib:");
        shader_message(device, name.c_str());
    }
    return location;
}

}  // namespace

void shader_message(const OpenGLRainbows& device, const char* text) {
    const ShaderMessageHandler handler = device.shaders.handler;
    (handler ? handler : debug_channel_handler)(text ? text : "");
}

ShaderMessageHandler set_shader_message_handler(OpenGLRainbows& device,
                                                ShaderMessageHandler handler) {
    const ShaderMessageHandler previous = device.shaders.handler;
    device.shaders.handler = handler;
    return previous;
}

int32_t load_shader(OpenGLRainbows& device, int32_t slot, const RtString& vertex_file,
                    const RtString& fragment_file) {
    // Gathered draws are made with the program and uniforms in force when they were
    // asked for, so every change of program or uniform flushes them first.
    flush_draw_batch(device);
    if (slot < 0 || slot >= kShaderSlotCount) return 0;
    ShaderTable& table = device.shaders;
    const GlExtensions& g = gl_extensions();
    if (!shader_support(g)) {
        if (table.support_unreported) {
            table.support_unreported = false;
            shader_message(device, "No OpenGL 2.0 Shader Support");
        }
        return 0;
    }
    ShaderSlot& s = table.slots[static_cast<size_t>(slot)];
    delete_slot_objects(g, s);

    // Every file given must compile; a slot without any file has nothing to run.
    bool success = true;
    if (!vertex_file.empty())
        success = compile_shader(device, g, GL_VERTEX_SHADER_ARB, vertex_file, s.vertex,
                                 "vertex shader failed");
    if (!fragment_file.empty()) {
        success = compile_shader(device, g, GL_FRAGMENT_SHADER_ARB, fragment_file, s.fragment,
                                 "fragment shader failed") &&
                  success;
    }
    if (!success || (s.vertex == 0 && s.fragment == 0)) return 0;

    s.program = g.glCreateProgramObjectARB();
    if (s.vertex != 0) g.glAttachObjectARB(s.program, s.vertex);
    if (s.fragment != 0) g.glAttachObjectARB(s.program, s.fragment);
    g.glLinkProgramARB(s.program);
    GLint linked = 0;
    g.glGetObjectParameterivARB(s.program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    if (!linked) {
        send_info_log(device, g, s.program);
        shader_message(device, "link shader failed");
        return 0;
    }
    return 1;
}

void use_shader(OpenGLRainbows& device, int32_t slot) {
    flush_draw_batch(device);
    const GlExtensions& g = gl_extensions();
    if (!g.glUseProgramObjectARB) return;
    ShaderTable& table = device.shaders;
    if (slot >= 0 && slot < kShaderSlotCount) {
        table.current = slot;
        g.glUseProgramObjectARB(table.slots[static_cast<size_t>(slot)].program);
    } else {
        table.current = -1;
        g.glUseProgramObjectARB(0);
    }
}

void set_shader_float(OpenGLRainbows& device, const RtString& name, double value) {
    flush_draw_batch(device);
    const GLint location = current_location(device, name, true);
    if (location != -1 && gl_extensions().glUniform1fARB)
        gl_extensions().glUniform1fARB(location, static_cast<GLfloat>(value));
}

void set_shader_int(OpenGLRainbows& device, const RtString& name, int32_t value) {
    flush_draw_batch(device);
    const GLint location = current_location(device, name, true);
    if (location != -1 && gl_extensions().glUniform1iARB)
        gl_extensions().glUniform1iARB(location, value);
}

void set_shader_attribute(OpenGLRainbows& device, const RtString& name, double value) {
    flush_draw_batch(device);
    const GLint location = current_location(device, name, false);
    if (location != -1 && gl_extensions().glVertexAttrib1fARB)
        gl_extensions().glVertexAttrib1fARB(static_cast<GLuint>(location), static_cast<GLfloat>(value));
}

void delete_all_shaders(OpenGLRainbows& device) {
    use_shader(device, -1);
    for (ShaderSlot& slot : device.shaders.slots) delete_slot_objects(gl_extensions(), slot);
}

}  // namespace tvk
