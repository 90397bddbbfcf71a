// Shader programs on a real headless context: loading from disk and memory files,
// drawing through a program, uniforms and attributes by name, and the messages sent
// for what goes wrong.
#include <gtest/gtest.h>

#include "runtime/files/memory_files.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/targets/shader_commands.h"
#include "targets/target_fixture.h"

namespace tvk {
namespace {

using testing_support::TargetDeviceTest;
using Rgb = std::array<uint8_t, 3>;
using Messages = std::vector<std::string>;

constexpr int32_t kBlue = 0xFF0000;
constexpr Rgb kB{0, 0, 255};

constexpr const char* kRedFragment = "void main() { gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0); }\n";
constexpr const char* kTintFragment =
    "uniform float tint;\n"
    "uniform int green;\n"
    "void main() { gl_FragColor = vec4(tint, float(green), 0.0, 1.0); }\n";
constexpr const char* kWeightVertex =
    "attribute float weight;\n"
    "void main() { gl_Position = ftransform(); gl_FrontColor = vec4(weight, 0.0, 0.0, 1.0); }\n";
constexpr const char* kColourFragment = "void main() { gl_FragColor = gl_Color; }\n";

class ShaderTest : public TargetDeviceTest {
protected:
    void SetUp() override {
        TargetDeviceTest::SetUp();
        clear();
    }
    std::string file(const char* name, const char* text) { return temp_.write(name, text); }
    // A blue square at the top-left, and the colour it came out in.
    Rgb square() {
        draw_rect(0, 0, 10, 10, kBlue);
        return rgb(5, 5);
    }
};

TEST_F(ShaderTest, FragmentShaderPaintsWhileSwitchedOn) {
    ASSERT_EQ(load_shader(4, "", file("red.frag", kRedFragment).c_str()), 1);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(square(), kB);
    use_shader(4);
    EXPECT_EQ(device_->shaders.current, 4);
    EXPECT_EQ(square(), (Rgb{255, 0, 0}));
    use_shader(-1);
    EXPECT_EQ(device_->shaders.current, -1);
    EXPECT_EQ(square(), kB);
    use_shader(255);  // out of range: off as well
    EXPECT_EQ(device_->shaders.current, -1);
}

TEST_F(ShaderTest, LoadsFromAMemoryFile) {
    const std::string text = kRedFragment;
    const MemoryBlockRef block = make_memory_block(std::vector<uint8_t>(text.begin(), text.end()));
    ASSERT_EQ(load_shader(0, "", memory_file_name(block).c_str()), 1);
    use_shader(0);
    EXPECT_EQ(square(), (Rgb{255, 0, 0}));
}

TEST_F(ShaderTest, UniformsAndAttributesSetByName) {
    ASSERT_EQ(load_shader(1, "", file("tint.frag", kTintFragment).c_str()), 1);
    use_shader(1);
    set_shader_float("tint", 1.0);
    set_shader_int("green", 1);
    EXPECT_EQ(square(), (Rgb{255, 255, 0}));
    EXPECT_TRUE(messages().empty());

    ASSERT_EQ(load_shader(2, file("weight.vert", kWeightVertex).c_str(),
                          file("colour.frag", kColourFragment).c_str()),
              1);
    use_shader(2);
    set_shader_attribute("weight", 1.0);
    EXPECT_EQ(square(), (Rgb{255, 0, 0}));
    EXPECT_TRUE(messages().empty());
}

// Sprite draws are gathered and handed to the driver later: those asked for before
// a program or uniform changes must still come out as they would have then.
TEST_F(ShaderTest, SpritesDrawnBeforeAChangeKeepTheProgramAndUniformsOfTheirTime) {
    ASSERT_TRUE(create_sprite_from_image(*device_, 1, testing_support::make_image(8, 8, [](int32_t, int32_t) {
                                             return testing_support::kWhite;
                                         }), false));
    ASSERT_EQ(load_shader(1, "", file("tint.frag", kTintFragment).c_str()), 1);
    draw_sprite(1, 0, 0);
    use_shader(1);
    set_shader_float("tint", 1.0);
    set_shader_int("green", 0);
    draw_sprite(1, 20, 0);
    set_shader_int("green", 1);
    draw_sprite(1, 40, 0);
    use_shader(-1);
    draw_sprite(1, 60, 0);
    EXPECT_EQ(rgb(2, 2), (Rgb{255, 255, 255}));
    EXPECT_EQ(rgb(22, 2), (Rgb{255, 0, 0}));
    EXPECT_EQ(rgb(42, 2), (Rgb{255, 255, 0}));
    EXPECT_EQ(rgb(62, 2), (Rgb{255, 255, 255}));
}

TEST_F(ShaderTest, UnknownNamesAreReportedInTwoMessages) {
    ASSERT_EQ(load_shader(1, "", file("tint.frag", kTintFragment).c_str()), 1);
    use_shader(1);
    set_shader_float("brightness", 0.5);
    EXPECT_EQ(messages(), (Messages{"undefined uniform:", "brightness"}));
    messages().clear();
    set_shader_int("level", 2);
    EXPECT_EQ(messages(), (Messages{"undefined uniform:", "level"}));
    messages().clear();
    set_shader_attribute("weight", 1.0);
    EXPECT_EQ(messages(), (Messages{"undefined attrib:", "weight"}));
    messages().clear();
    // With no program switched on there is nothing to look up.
    use_shader(-1);
    set_shader_float("brightness", 0.5);
    EXPECT_TRUE(messages().empty());
}

TEST_F(ShaderTest, SlotsOutsideTheTableFailWithoutTouchingAnySlot) {
    ASSERT_EQ(load_shader(254, "", file("red.frag", kRedFragment).c_str()), 1);
    use_shader(254);
    const ShaderTable before = device_->shaders;
    for (int32_t slot : {255, 256, -1}) {
        EXPECT_EQ(load_shader(slot, "", file("red.frag", kRedFragment).c_str()), 0) << slot;
    }
    const ShaderTable& after = device_->shaders;
    for (size_t i = 0; i < before.slots.size(); ++i) {
        EXPECT_EQ(after.slots[i].program, before.slots[i].program) << i;
        EXPECT_EQ(after.slots[i].vertex, before.slots[i].vertex) << i;
        EXPECT_EQ(after.slots[i].fragment, before.slots[i].fragment) << i;
    }
    EXPECT_EQ(after.current, 254);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(square(), (Rgb{255, 0, 0}));
}

TEST_F(ShaderTest, FailuresSendTheDriverLogThenTheirLine) {
    struct Case {
        const char* vertex;
        const char* fragment;
        const char* last;
    };
    const Case cases[] = {
        {"", "void main() { gl_FragColor = undefined_thing; }\n", "fragment shader failed"},
        {"void main() { gl_Position = 1; ", "", "vertex shader failed"},
        // Both compile; the fragment stage reads a varying the vertex stage never writes.
        {"varying vec3 lost; void main() { gl_Position = ftransform(); }\n",
         "varying vec4 lost; void main() { gl_FragColor = lost; }\n", "link shader failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        messages().clear();
        const std::string vertex = *c.vertex ? file("case.vert", c.vertex) : "";
        const std::string fragment = *c.fragment ? file("case.frag", c.fragment) : "";
        EXPECT_EQ(load_shader(3, vertex.c_str(), fragment.c_str()), 0);
        ASSERT_EQ(messages().size(), 2u);
        EXPECT_FALSE(messages()[0].empty());  // the driver's log
        EXPECT_EQ(messages()[1], c.last);
    }
}

TEST_F(ShaderTest, MissingFilesAndNoFilesFail) {
    EXPECT_EQ(load_shader(3, "", temp_.file("absent.frag").c_str()), 0);
    EXPECT_EQ(messages(), (Messages{"fragment shader failed"}));
    messages().clear();
    EXPECT_EQ(load_shader(3, "", ""), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(ShaderTest, MissingShaderSupportIsReportedOnce) {
    gl_extensions().glCreateShaderObjectARB = nullptr;
    const std::string red = file("red.frag", kRedFragment);
    EXPECT_EQ(load_shader(0, "", red.c_str()), 0);
    EXPECT_EQ(load_shader(0, "", red.c_str()), 0);
    EXPECT_EQ(messages(), (Messages{"No OpenGL 2.0 Shader Support"}));
}

TEST_F(ShaderTest, ReloadingASlotReplacesItsObjects) {
    ASSERT_EQ(load_shader(5, "", file("red.frag", kRedFragment).c_str()), 1);
    ASSERT_EQ(load_shader(5, file("weight.vert", kWeightVertex).c_str(),
                          file("colour.frag", kColourFragment).c_str()),
              1);
    const ShaderSlot& slot = device_->shaders.slots[5];
    EXPECT_NE(slot.vertex, 0u);
    EXPECT_NE(slot.fragment, 0u);
    use_shader(5);
    set_shader_attribute("weight", 0.0);
    EXPECT_EQ(square(), (Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace tvk
