// The modal line editor on a headless window: typed characters and key presses go
// through SDL's queue and reach the editor through its own frame flips.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "input/input_fixture.h"
#include "runtime/core/text_entry.h"
#include "runtime/gfx/backgrounds.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/builtin_font.h"
#include "runtime/gfx/font_table.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/input/input_commands.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

using Rgb = std::array<uint8_t, 3>;
constexpr Rgb kBlue{0, 0, 255}, kRed{255, 0, 0};

class TextEntryTest : public input_test::InputTest {
protected:
    static constexpr int32_t kWidth = 96, kHeight = 64;

    void SetUp() override {
        unsetenv("DISPLAY");
        // The window's trace lines go into the test's own folder.
        if (const char* old = std::getenv(testing_support::kTempFolderVariable)) old_tmpdir_ = old;
        setenv(testing_support::kTempFolderVariable, temp_.path().string().c_str(), 1);
        InputTest::SetUp();
        OpenGLRainbows& device = *graphics_device();
        ASSERT_TRUE(open_window(device, nullptr, kWidth, kHeight, 0, 60, 0));
        rebind_input_window(device.display.window);
        reset_2d_state(device);
        install_builtin_font(device, 0);
        set_font(0);
        // Frames are left as drawn, so the editor's last frame can be read back.
        set_clear_colour(device, -1);
    }
    void TearDown() override {
        OpenGLRainbows& device = *graphics_device();
        delete_all_sprites(device);
        free_sprite_table(device);
        InputTest::TearDown();
        if (old_tmpdir_.empty()) unsetenv(testing_support::kTempFolderVariable);
        else setenv(testing_support::kTempFolderVariable, old_tmpdir_.c_str(), 1);
    }

    static void type(const char* text) {
        platform::Event e;
        e.kind = platform::EventKind::text_input;
        e.text_length = static_cast<uint8_t>(std::strlen(text));
        std::memcpy(e.text, text, e.text_length);
        post(e);
    }
    // A key press as the player makes it: down, then up.
    static void press(uint8_t code) {
        key(code, true);
        key(code, false);
    }

    static Rgb pixel(int32_t x, int32_t y) {
        flush_draw_batch();
        glFinish();
        std::array<uint8_t, 4> rgba{};
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return {rgba[0], rgba[1], rgba[2]};
    }
    // Pixels of the 8 by 8 cell at (left, top) that differ from the colour.
    static int32_t pixels_unlike(int32_t left, int32_t top, Rgb colour) {
        int32_t n = 0;
        for (int32_t y = top; y < top + 8; ++y)
            for (int32_t x = left; x < left + 8; ++x) n += pixel(x, y) != colour;
        return n;
    }
    // A blue screen with a red 8 by 8 square at (32, 8).
    static void paint_screen() {
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(32, kHeight - 16, 8, 8);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }

    std::string old_tmpdir_;
    testing_support::TempDir temp_;
};

TEST_F(TextEntryTest, TypedKeysEditTheLineUntilEnter) {
    struct Case {
        const char* start;
        std::vector<const char*> typing;   // "\b" presses Backspace, "\n" Enter
        const char* line;
    };
    const Case cases[] = {
        {"", {"ab", "\b", "c", "\n"}, "ac"},
        {"", {"\xE9t\xE9", "\n"}, "\xE9t\xE9"},                // Latin-1 bytes
        {"xy", {"\b", "\b", "\b", "z", "\n", "late"}, "z"},   // Backspace on nothing; typing after Enter stays queued
    };
    for (const Case& c : cases) {
        input_device()->typed_chars.clear();
        for (const char* t : c.typing) {
            if (std::strcmp(t, "\b") == 0) press(14);
            else if (std::strcmp(t, "\n") == 0) press(28);
            else type(t);
        }
        RtString line = c.start;
        input_text(line, 8, 8, 0);
        EXPECT_STREQ(line.c_str(), c.line) << c.start;
    }
    EXPECT_STREQ(get_typed_key().c_str(), "l");
}

TEST_F(TextEntryTest, LineIsDrawnOverTheScreenAsItWas) {
    paint_screen();
    // "wxyz" covers the red square at first; after three Backspaces and "a" only
    // "wa" is drawn and the square shows again.
    press(14);
    press(14);
    press(14);
    type("a");
    press(28);
    RtString line = "wxyz";
    input_text(line, 8, 8, 0);
    EXPECT_STREQ(line.c_str(), "wa");
    // The editor's last frame stays on the screen (clearing is off).
    EXPECT_GT(pixels_unlike(8, 8, kBlue), 4);     // "w"
    EXPECT_GT(pixels_unlike(16, 8, kBlue), 4);    // "a"
    EXPECT_EQ(pixels_unlike(24, 8, kBlue), 0);    // where "y" was
    EXPECT_EQ(pixels_unlike(32, 8, kRed), 0);     // where "z" was: the square again
    EXPECT_EQ(pixel(0, 0), kBlue);
    EXPECT_EQ(pixel(95, 63), kBlue);
    // The saved screen is let go.
    EXPECT_TRUE(graphics_device()->backgrounds.sets[kTextEntryBackground].empty());
}

TEST_F(TextEntryTest, CursorBlinksAfterTwentyEmptyFrames) {
    TextEntry entry;
    entry.text = "ab";
    for (int i = 0; i < kCursorBlinkPasses; ++i) EXPECT_FALSE(text_entry_take(entry, 0));
    EXPECT_FALSE(entry.cursor_shown);
    text_entry_take(entry, 0);
    EXPECT_TRUE(entry.cursor_shown);
    EXPECT_EQ(entry.empty_passes, 0);

    paint_screen();
    grab_background(*graphics_device(), kTextEntryBackground);
    draw_text_entry(entry, 8, 8, 0);
    EXPECT_GT(pixels_unlike(24, 8, kBlue), 4);    // "_" after the text
    for (int i = 0; i <= kCursorBlinkPasses; ++i) text_entry_take(entry, 0);
    EXPECT_FALSE(entry.cursor_shown);
    draw_text_entry(entry, 8, 8, 0);
    EXPECT_EQ(pixels_unlike(24, 8, kBlue), 0);
    EXPECT_EQ(pixels_unlike(32, 8, kRed), 0);
    free_background(*graphics_device(), kTextEntryBackground);
}

TEST_F(TextEntryTest, NumbersAreReadFromTheTypedLine) {
    struct Case {
        const char* typed;
        int32_t as_int;
        double as_float;
    };
    const Case cases[] = {{"42", 42, 42}, {"-3.5", -3, -3.5}, {"12ab", 12, 12}, {"", 0, 0}, {"1e3", 1, 1000}};
    for (const Case& c : cases) {
        type(c.typed);
        press(28);
        int32_t i = -1;
        input_number(i, 0, 0, 1);
        type(c.typed);
        press(28);
        double d = -1;
        input_number(d, 0, 0, 1);
        EXPECT_EQ(i, c.as_int) << c.typed;
        EXPECT_DOUBLE_EQ(d, c.as_float) << c.typed;
    }
}

TEST_F(TextEntryTest, WithoutAWindowNothingIsWaitedFor) {
    OpenGLRainbows& device = *graphics_device();
    platform::Window* window = device.display.window;
    device.display.window = nullptr;
    RtString line = "kept";
    input_text(line, 0, 0, 0);
    device.display.window = window;
    EXPECT_STREQ(line.c_str(), "kept");
}

}  // namespace
}  // namespace tvk
