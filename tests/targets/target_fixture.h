#pragma once
// The headless graphics device of the drawing tests, plus what the render-target and
// shader tests share: the trace file's text, the shader messages sent, and entry
// points that a test withholds and gets back afterwards.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/gl_fixture.h"
#include "runtime/gfx/gl_extensions.h"
#include "runtime/gfx/targets/render_target.h"
#include "runtime/gfx/targets/shader_programs.h"
#include "runtime/value/trace_log.h"

namespace tvk::testing_support {

class TargetDeviceTest : public GlDeviceTest {
protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        saved_extensions_ = gl_extensions();
        messages().clear();
        set_shader_message_handler(*device_, [](const char* text) { messages().push_back(text); });
    }
    void TearDown() override {
        gl_extensions() = saved_extensions_;
        delete_all_shaders(*device_);
        free_render_targets(*device_);
        set_shader_message_handler(*device_, nullptr);
        GlDeviceTest::TearDown();
    }

    static std::vector<std::string>& messages() {
        static std::vector<std::string> sent;
        return sent;
    }

    // Render targets as a driver without framebuffer objects sees them.
    static void withhold_framebuffers() {
        GlExtensions& g = gl_extensions();
        g.glBindRenderbufferEXT = nullptr;
        g.glDeleteRenderbuffersEXT = nullptr;
        g.glGenRenderbuffersEXT = nullptr;
        g.glRenderbufferStorageEXT = nullptr;
        g.glBindFramebufferEXT = nullptr;
        g.glDeleteFramebuffersEXT = nullptr;
        g.glGenFramebuffersEXT = nullptr;
        g.glCheckFramebufferStatusEXT = nullptr;
        g.glFramebufferTexture2DEXT = nullptr;
        g.glFramebufferRenderbufferEXT = nullptr;
        g.glGetFramebufferAttachmentParameterivEXT = nullptr;
    }

    static std::string trace_text() {
        std::ifstream in(trace_file_path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    GlExtensions saved_extensions_;
};

}  // namespace tvk::testing_support
