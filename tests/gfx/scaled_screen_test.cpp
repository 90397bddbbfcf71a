// A logical screen scaled to its window, drawn for real on the X display the suite
// runs under (skipped without one): what the window shows at the screen's own size,
// at a whole multiple, at a fractional size and at full screen, read back from the
// window's back buffer; and that everything a program reads back (pixels, grabs,
// saved screens, the frame capture, render targets, backgrounds) stays in logical
// pixels.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gl_fixture.h"
#include "runtime/core/frame_capture.h"
#include "runtime/core/message_pump.h"
#include "runtime/gfx/background_commands.h"
#include "runtime/gfx/capture_commands.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/primitive_commands.h"
#include "runtime/gfx/screen_capture.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/input/input_device.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/events.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

using testing_support::quadrant_image;
using testing_support::Rgba;

// A portrait screen, so that a landscape window has bars left and right.
constexpr int32_t kWidth = 48;
constexpr int32_t kHeight = 64;
constexpr int32_t kBars = 0x603010;        // packed: red 0x10, green 0x30, blue 0x60
constexpr Rgba kBarColour{0x10, 0x30, 0x60, 0xFF};
constexpr Rgba kRedBlock{255, 0, 0, 255}, kGreenBlock{0, 255, 0, 255}, kBlueBlock{0, 0, 255, 255},
    kGreyBlock{128, 128, 128, 255};

// Pixels top row first, 4 bytes each.
struct Picture {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> rgba;
    Rgba at(int32_t x, int32_t y) const {
        const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

// Reads the bound framebuffer's read buffer, turning rows top first.
Picture read_picture(GLenum buffer, int32_t width, int32_t height) {
    Picture picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    std::vector<uint8_t> rows(picture.rgba.size());
    glFinish();
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    const size_t row = static_cast<size_t>(width) * 4;
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(&picture.rgba[y * row], &rows[(height - 1 - y) * row], row);
    return picture;
}

class ScaledScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
#ifdef _WIN32
        // Wine's windows on the same X display.
        setenv("SDL_VIDEODRIVER", "windows", 1);
#else
        setenv("SDL_VIDEODRIVER", "x11", 1);
#endif
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv(testing_support::kTempFolderVariable, temp_.path().string().c_str(), 1);
    }
    void TearDown() override {
        release_input_devices();
        if (graphics_device()) {
            delete_all_sprites(*graphics_device());
            destroy_graphics_device();
        }
        setenv(testing_support::kTempFolderVariable, saved_tmpdir_.c_str(), 1);
    }

    // A device as start-up makes it: the window opened, placed and shown.
    OpenGLRainbows& open(bool scaled) {
        OpenGLRainbows& device = create_graphics_device();
        device.display.scaling.requested = scaled ? 1 : 0;
        EXPECT_TRUE(open_window(device, nullptr, kWidth, kHeight, 0, 60, 0)) << device.display.failure;
        leave_fullscreen(device);
        set_clear_colour(device, kBars);
        reset_2d_state(device);
        set_smoothing(0);
        return device;
    }

    // Four blocks, a sprite over the red one and one yellow pixel: hard edges and
    // single pixels that any slip of scaling or placing shows.
    void draw_scene() {
        draw_rect(0, 0, kWidth, kHeight, 0x808080);
        draw_rect(0, 0, 24, 32, 0x0000FF);
        draw_rect(24, 0, 24, 32, 0x00FF00);
        draw_rect(0, 32, 24, 32, 0xFF0000);
        ASSERT_TRUE(create_sprite_from_image(*graphics_device(), 1, quadrant_image(8), false));
        draw_sprite(1, 4, 4);
        draw_rect(30, 40, 1, 1, 0x00FFFF);
        flush_draw_batch();
    }

    // The logical screen as the program's reads see it.
    Picture screen() {
        OpenGLRainbows& device = *graphics_device();
        flush_draw_batch(device);
        bind_screen_framebuffer(device);
        return read_picture(screen_read_buffer(device), device.display.window_width,
                            device.display.window_height);
    }

    // What the window shows: the frame as presenting puts it there, read before the swap.
    Picture window() {
        OpenGLRainbows& device = *graphics_device();
        show_scaled_frame(device);
        const ScreenScaling& s = device.display.scaling;
        Picture picture = read_picture(GL_BACK, s.window_width, s.window_height);
        bind_screen_framebuffer(device);
        return picture;
    }

    // Resizes the window and waits for the window system's answer, which the core
    // hands on from the resize event; a frame is then presented, as the game would.
    void resize(int32_t width, int32_t height) {
        OpenGLRainbows& device = *graphics_device();
        platform::set_window_client_size(device.display.window, width, height);
        wait_for_size(width, height);
        present_frame(device, nullptr);
    }

    void wait_for_size(int32_t width, int32_t height) {
        OpenGLRainbows& device = *graphics_device();
        platform::Event event;
        for (int tries = 0; tries < 500; ++tries) {
            while (platform::poll_event(event)) {
                if (event.kind == platform::EventKind::resized)
                    screen_window_resized(device, event.width, event.height);
            }
            if (device.display.scaling.window_width == width && device.display.scaling.window_height == height)
                return;
            platform::sleep_ms(10);
        }
        FAIL() << "the window did not become " << width << "x" << height;
    }

    // Every window pixel of the shown rectangle is the logical pixel under its centre,
    // and every other one the bar colour.
    static void expect_whole_multiple(const Picture& shown, const Picture& logical, int32_t scale, int32_t left,
                                      int32_t top) {
        for (int32_t y = 0; y < shown.height; ++y)
            for (int32_t x = 0; x < shown.width; ++x) {
                const bool inside = x >= left && x < left + logical.width * scale && y >= top &&
                                    y < top + logical.height * scale;
                const Rgba want = inside ? logical.at((x - left) / scale, (y - top) / scale) : kBarColour;
                ASSERT_EQ(shown.at(x, y), want) << x << "," << y;
            }
    }

    const std::string saved_tmpdir_ = std::getenv(testing_support::kTempFolderVariable)
                                          ? std::getenv(testing_support::kTempFolderVariable)
                                          : "/tmp";
    testing_support::TempDir temp_;
};

TEST(ScaledRectangle, LargestCentredRectangleOfTheFramesShape) {
    struct Case {
        int32_t fw, fh, ww, wh;
        platform::ScreenRect want;
    };
    const Case cases[] = {
        {480, 640, 480, 640, {0, 0, 480, 640}},       // its own size
        {480, 640, 960, 1280, {0, 0, 960, 1280}},     // twice
        {480, 640, 1280, 1000, {265, 0, 750, 1000}},  // bars left and right
        {480, 640, 1920, 1080, {555, 0, 810, 1080}},
        {480, 640, 600, 1000, {0, 100, 600, 800}},    // bars above and below
        {480, 640, 481, 1000, {0, 179, 481, 641}},    // rounded to the nearest pixel, odd pixel below
        {640, 480, 1024, 768, {0, 0, 1024, 768}},
        {480, 640, 0, 640, {0, 0, 0, 0}},             // a window of no size shows nothing
    };
    for (const Case& c : cases) {
        const platform::ScreenRect r = scaled_rectangle(c.fw, c.fh, c.ww, c.wh);
        EXPECT_EQ(r.x, c.want.x) << c.ww << "x" << c.wh;
        EXPECT_EQ(r.y, c.want.y) << c.ww << "x" << c.wh;
        EXPECT_EQ(r.width, c.want.width) << c.ww << "x" << c.wh;
        EXPECT_EQ(r.height, c.want.height) << c.ww << "x" << c.wh;
    }
    EXPECT_TRUE(whole_multiple({0, 0, 960, 1280}, 480, 640));
    EXPECT_FALSE(whole_multiple({0, 0, 750, 1000}, 480, 640));
    EXPECT_FALSE(whole_multiple({0, 0, 960, 640}, 480, 640));   // stretched: not a multiple
}

TEST(ScaledRectangle, FirstWindowIsTheLargestMultipleWithin80PercentOfTheDesktop) {
    EXPECT_EQ(first_window_scale(480, 640, 1920, 1080), 1);    // 864 high: 2x (1280) does not fit
    EXPECT_EQ(first_window_scale(480, 640, 2560, 1440), 1);
    EXPECT_EQ(first_window_scale(480, 640, 3840, 2160), 2);    // 1728 high
    EXPECT_EQ(first_window_scale(480, 640, 1024, 768), 1);     // not even 1x fits: still 1x
    EXPECT_EQ(first_window_scale(320, 200, 1920, 1080), 4);
    EXPECT_EQ(first_window_scale(1000, 300, 1280, 1024), 1);   // the width limits it
    EXPECT_EQ(first_window_scale(480, 640, 0, 0), 1);          // desktop unknown
}

TEST_F(ScaledScreenTest, AtItsOwnSizeTheWindowShowsExactlyWhatAnUnscaledWindowShows) {
    OpenGLRainbows* device = &open(false);
    draw_scene();
    const Picture unscaled = read_picture(GL_BACK, kWidth, kHeight);
    delete_all_sprites(*device);
    destroy_graphics_device();

    device = &open(true);
    ASSERT_TRUE(device->display.scaling.active);
    // The first window: the largest whole multiple within 80% of the desktop.
    const int32_t scale = first_window_scale(kWidth, kHeight, device->display.desktop_width,
                                             device->display.desktop_height);
    ASSERT_GT(scale, 1) << "the display is too small for this test";
    EXPECT_EQ(device->display.scaling.window_width, kWidth * scale);
    EXPECT_EQ(device->display.scaling.window_height, kHeight * scale);
    EXPECT_EQ(device->display.window_width, kWidth);   // the logical screen keeps its size

    resize(kWidth, kHeight);
    draw_scene();
    const Picture logical = screen();
    const Picture shown = window();
    EXPECT_EQ(logical.rgba, unscaled.rgba);
    EXPECT_EQ(shown.rgba, unscaled.rgba);
}

TEST_F(ScaledScreenTest, WholeMultiplesShowEveryLogicalPixelAsASquareInEveryOrientation) {
    OpenGLRainbows& device = open(true);
    resize(3 * kWidth + 10, 3 * kHeight);   // 3x, with 5 pixels of bar each side
    for (int32_t orientation = 0; orientation < 4; ++orientation) {
        set_orientation(device, orientation);
        draw_scene();
        const Picture logical = screen();
        expect_whole_multiple(window(), logical, 3, 5, 0);
        // The logical screen is turned within the frame: its top-left pixel shows
        // at the window's top-left, top-right, bottom-right, bottom-left corner.
        draw_rect(0, 0, 1, 1, 0xFFFFFF);
        flush_draw_batch();
        const Picture turned = window();
        const int32_t right = 5 + 3 * kWidth - 1, bottom = 3 * kHeight - 1;
        const int32_t cx[4] = {5, right, right, 5}, cy[4] = {0, 0, bottom, bottom};
        EXPECT_EQ(turned.at(cx[orientation], cy[orientation]), (Rgba{255, 255, 255, 255})) << orientation;
        EXPECT_EQ(get_pixel(0, 0), 0xFFFFFF) << orientation;
    }
}

TEST_F(ScaledScreenTest, AFractionalSizeIsScaledSmoothlyBetweenBarsAndCapturesStayLogical) {
    OpenGLRainbows& device = open(true);
    resize(kWidth, kHeight);
    draw_scene();
    const Picture logical = screen();

    resize(200, 100);   // the frame 75 by 100 at x 62
    draw_scene();
    EXPECT_EQ(screen().rgba, logical.rgba);
    const Picture shown = window();
    const platform::ScreenRect r = shown_screen_rectangle(device);
    ASSERT_EQ(r.x, 62);
    ASSERT_EQ(r.width, 75);
    ASSERT_EQ(r.height, 100);
    for (int32_t y = 0; y < 100; ++y) {
        EXPECT_EQ(shown.at(61, y), kBarColour) << y;
        EXPECT_EQ(shown.at(137, y), kBarColour) << y;
        EXPECT_NE(shown.at(62, y), kBarColour) << y;
        EXPECT_NE(shown.at(136, y), kBarColour) << y;
    }
    // Inside the blocks the colour is the block's; the window scales all of them.
    const auto window_of = [&](int32_t lx, int32_t ly) {
        return shown.at(r.x + (2 * lx + 1) * r.width / (2 * kWidth), (2 * ly + 1) * r.height / (2 * kHeight));
    };
    EXPECT_EQ(window_of(36, 16), kGreenBlock);
    EXPECT_EQ(window_of(12, 48), kBlueBlock);
    EXPECT_EQ(window_of(36, 52), kGreyBlock);
    EXPECT_EQ(window_of(18, 26), kRedBlock);

    // What the program reads back is the logical screen, pixel for pixel.
    EXPECT_EQ(get_pixel(30, 40), 0x00FFFF);
    const std::string saved = temp_.file("screen.png");
    ASSERT_EQ(save_screen(saved.c_str()), 1);
    ImageBuffer image;
    ASSERT_TRUE(load_image_file(image, saved, -1));
    ASSERT_EQ(image.width, kWidth);
    ASSERT_EQ(image.height, kHeight);
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.begin(), image.pixels.end()), logical.rgba);
    const std::string captured = temp_.file("frame.png");
    ASSERT_TRUE(save_frame(device, captured));   // the TAVRICK_CAPTURE screenshot
    ASSERT_TRUE(load_image_file(image, captured, -1));
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.begin(), image.pixels.end()), logical.rgba);
    ASSERT_EQ(grab_sprite(7, 24, 32, 24, 32), 1);
    ImageBuffer grabbed;
    ASSERT_TRUE(read_sprite_pixels(device, 7, grabbed));
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 24; ++x)
            ASSERT_EQ(std::memcmp(grabbed.pixel(x, y), &logical.rgba[((32 + y) * kWidth + 24 + x) * 4], 4), 0);
}

TEST_F(ScaledScreenTest, RenderTargetsAndBackgroundsReturnToTheScaledScreen) {
    OpenGLRainbows& device = open(true);
    resize(2 * kWidth, 2 * kHeight);
    draw_scene();
    const Picture before = screen();
    create_render_target(device, 0, 10, 16, 16);
    use_render_target(device, 0);
    draw_rect(0, 0, 16, 16, 0xFF00FF);
    end_render_target(device);
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), device.display.scaling.framebuffer);
    EXPECT_EQ(screen().rgba, before.rgba);   // drawing into the target left the screen alone
    draw_sprite(10, 30, 2);
    EXPECT_EQ(get_pixel(35, 10), 0xFF00FF);
    expect_whole_multiple(window(), screen(), 2, 0, 0);

    // A background grabbed from the scaled screen comes back behind the next frame.
    const Picture drawn = screen();
    use_screen_as_background();
    present_frame(device, nullptr);
    EXPECT_EQ(screen().rgba, drawn.rgba);
}

// Full screen needs a window manager to give the window the whole screen: this runs
// on a display of its own with the test window manager (tests/gfx/CMakeLists.txt).
TEST_F(ScaledScreenTest, FullScreenKeysCoverTheDesktopAndComeBackToTheWindow) {
    if (!std::getenv("TAVRICK_TEST_WINDOW_MANAGER")) GTEST_SKIP() << "no window manager on this display";
    OpenGLRainbows& device = open(true);
    create_input_object();
    resize(2 * kWidth, 2 * kHeight);
    draw_scene();
    const Picture logical = screen();

    const auto press = [](uint8_t key, bool alt) {
        platform::Event e;
        e.kind = platform::EventKind::key_down;
        e.key_code = key;
        e.alt = alt;
        ASSERT_TRUE(platform::post_event(e));
        e.kind = platform::EventKind::key_up;
        ASSERT_TRUE(platform::post_event(e));
        pump_messages(graphics_device(), nullptr);
        pump_messages(graphics_device(), nullptr);
    };
    press(87, false);   // F11
    EXPECT_EQ(is_fullscreen(device), 1);
    wait_for_size(device.display.desktop_width, device.display.desktop_height);
    present_frame(device, nullptr);
    draw_scene();
    // The desktop's own size: 1024 by 768 for the suite's display, the frame 12x at x 224.
    const platform::ScreenRect r = shown_screen_rectangle(device);
    EXPECT_EQ(r.height, device.display.desktop_height);
    const Picture shown = window();
    if (whole_multiple(r, kWidth, kHeight)) {
        expect_whole_multiple(shown, logical, r.height / kHeight, r.x, r.y);
    } else {
        EXPECT_EQ(shown.at(r.x - 1, r.height / 2), kBarColour);
        EXPECT_EQ(shown.at(r.x + r.width * 3 / 4, r.height / 4), kGreenBlock);
    }
    EXPECT_EQ(screen().rgba, logical.rgba);

    press(28, true);    // Alt+Enter: back to the window, which kept its size
    EXPECT_EQ(is_fullscreen(device), 0);
    wait_for_size(2 * kWidth, 2 * kHeight);
    EXPECT_EQ(pop_typed_char(), 0);   // and typed no line end
    press(28, false);   // Enter alone is only a key
    EXPECT_EQ(is_fullscreen(device), 0);
    EXPECT_EQ(pop_typed_char(), 10);
}

}  // namespace
}  // namespace tvk
