#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "input/input_fixture.h"
#include "runtime/input/input_commands.h"
#include "runtime/input/orientation.h"

namespace tvk {
namespace {

using MouseTest = input_test::InputTest;

TEST_F(MouseTest, PositionIsClampedToTheLogicalScreenInclusive) {
    struct Case {
        int32_t x, y, want_x, want_y;
    };
    const Case cases[] = {{10, 20, 10, 20}, {480, 640, 480, 640}, {900, 700, 480, 640}, {-30, -1, 0, 0}};
    for (const Case& c : cases) {
        move(c.x, c.y);
        frame();
        int32_t x = -1, y = -1, left = -1, right = -1;
        mouse_state(x, y, left, right);
        EXPECT_EQ(x, c.want_x) << c.x;
        EXPECT_EQ(y, c.want_y) << c.y;
        EXPECT_EQ(left, 0);
        EXPECT_EQ(right, 0);
    }
    button(1, true, 5, 6);
    button(3, true, 5, 6);
    drain();
    double x = 0, y = 0, left = 0, right = 0;
    mouse_state(x, y, left, right);
    EXPECT_EQ(x, 5.0);
    EXPECT_EQ(y, 6.0);
    EXPECT_EQ(left, 1.0);
    EXPECT_EQ(right, 1.0);
    EXPECT_EQ(mouse_axis(3), 1);
    EXPECT_EQ(mouse_axis(5), 0);
    EXPECT_EQ(any_mouse_button(), 1);
    // Released in a later frame (a press reads as down until the next sample).
    update_input();
    button(1, false, 5, 6);
    button(3, false, 5, 6);
    drain();
    EXPECT_EQ(any_mouse_button(), 0);
}

TEST_F(MouseTest, MotionAndWheelCountSinceTheLastCommit) {
    move(100, 100);
    frame();
    move(130, 90);
    drain();
    EXPECT_EQ(mouse_axis(0), 30);
    EXPECT_EQ(mouse_axis(1), -10);
    EXPECT_EQ(mouse_axis(0), 30);  // reads without commit see the same motion
    update_input();
    EXPECT_EQ(mouse_axis(0), 0);

    // The wheel adds its sign once per read, whatever the number of notches.
    wheel(1);
    wheel(1);
    drain();
    EXPECT_EQ(mouse_axis(2), 1);
    EXPECT_EQ(mouse_axis(2), 1);
    wheel(3);
    drain();
    EXPECT_EQ(mouse_axis(2), 2);
    update_input();
    EXPECT_EQ(mouse_axis(2), 0);
    wheel(-2);
    drain();
    EXPECT_EQ(mouse_axis(2), -1);
    EXPECT_EQ(mouse_axis(9), 0);
}

TEST_F(MouseTest, HiddenPointerReadsRelativeMotionFromTheProgramsPosition) {
    move(200, 200);
    frame();
    show_mouse_pointer(0);
    EXPECT_EQ(input_device()->pointer_shown, 0);
    set_mouse_position(50, 60);
    move(210, 195);
    frame();
    int32_t x = 0, y = 0, left = 0, right = 0;
    mouse_state(x, y, left, right);
    EXPECT_EQ(x, 60);
    EXPECT_EQ(y, 55);
    move(150, 100);  // far to the left: clamped at the edge, not below it
    frame();
    mouse_state(x, y, left, right);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    show_mouse_pointer(1);
    EXPECT_EQ(input_device()->pointer_shown, 1);
}

TEST_F(MouseTest, TurnedScreensMapTheMouse) {
    OpenGLRainbows& device = *graphics_device();
    device.display.window_width = 640;
    device.display.window_height = 480;
    device.screen.orientation = 1;  // logical screen 480 wide, 640 high
    move(600, 10);
    frame();
    int32_t x = 0, y = 0, left = 0, right = 0;
    mouse_state(x, y, left, right);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 39);
    set_mouse_position(5, 7);
    EXPECT_EQ(input_device()->mouse_records[0].previous_x, 632);
    EXPECT_EQ(input_device()->mouse_records[0].previous_y, 5);
    move(602, 15);
    drain();
    EXPECT_EQ(mouse_axis(0), 15 - 5);
    EXPECT_EQ(mouse_axis(1), 632 - 602);
}

// A press and release drained in the same frame (a touchpad tap) read as down until
// the next sample and as up after it, for every button in every orientation, at the
// point of the tap. The frame flip samples input before it pumps the messages, so a
// frame here is: sample, then drain.
TEST_F(MouseTest, ATapWithinOneFrameReadsDownOnceForEveryButtonAndOrientation) {
    OpenGLRainbows& device = *graphics_device();
    device.display.window_width = 640;
    device.display.window_height = 480;
    // The window point (100, 30) and where it lies on the logical screen.
    const int32_t logical[4][2] = {{100, 30}, {30, 539}, {539, 449}, {449, 100}};
    for (int32_t orientation = 0; orientation < 4; ++orientation) {
        device.screen.orientation = orientation;
        for (int32_t which : {1, 2, 3}) {
            const std::string what = "orientation " + std::to_string(orientation) + ", button " +
                                     std::to_string(which);
            button(which, true, 100, 30);
            button(which, false, 100, 30);
            update_input();
            drain();
            int32_t x = -1, y = -1, left = -1, right = -1;
            mouse_state(x, y, left, right);
            EXPECT_EQ(x, logical[orientation][0]) << what;
            EXPECT_EQ(y, logical[orientation][1]) << what;
            EXPECT_EQ(left, which == 1 ? 1 : 0) << what;
            EXPECT_EQ(right, which == 3 ? 1 : 0) << what;
            EXPECT_EQ(mouse_axis(5), which == 2 ? 1 : 0) << what;
            EXPECT_EQ(any_mouse_button(), 1) << what;
            // Read again within the same frame: still the one press.
            mouse_state(x, y, left, right);
            EXPECT_EQ(left + right + mouse_axis(5), 1) << what;
            // The next frame's sample has forgotten it.
            update_input();
            drain();
            mouse_state(x, y, left, right);
            EXPECT_EQ(left, 0) << what;
            EXPECT_EQ(right, 0) << what;
            EXPECT_EQ(any_mouse_button(), 0) << what;
        }
    }
}

// A button held across frames keeps reading down until it is released.
TEST_F(MouseTest, AHeldButtonReadsDownUntilReleased) {
    button(1, true, 40, 50);
    update_input();
    drain();
    for (int frames = 0; frames < 3; ++frames) {
        update_input();
        drain();
        EXPECT_EQ(mouse_axis(3), 1) << frames;
    }
    button(1, false, 40, 50);
    update_input();
    drain();
    EXPECT_EQ(mouse_axis(3), 0);
}

// A screen scaled to its window (the window's size comes with the resize event):
// each window pixel reads as the logical pixel under its centre, turned with the
// screen; pixels of the bars read as the nearest edge of the screen. Checked at the
// screen's own size, twice it, a fractional size with bars left and right, and one
// smaller than the screen with bars above and below, in every orientation.
TEST_F(MouseTest, AScaledWindowMapsThroughTheShownRectangleInEveryOrientation) {
    constexpr int32_t W = 480, H = 640;
    OpenGLRainbows& device = *graphics_device();
    ScreenScaling& scaling = device.display.scaling;
    scaling.active = 1;
    scaling.width = W;
    scaling.height = H;
    struct Size {
        int32_t width, height;
    };
    for (const Size size : {Size{W, H}, Size{2 * W, 2 * H}, Size{1280, 1000}, Size{400, 600}}) {
        platform::Event resized;
        resized.kind = platform::EventKind::resized;
        resized.width = size.width;
        resized.height = size.height;
        post(resized);
        drain();
        ASSERT_EQ(scaling.window_width, size.width);
        ASSERT_EQ(scaling.window_height, size.height);
        const platform::ScreenRect r = scaled_rectangle(W, H, size.width, size.height);
        const int32_t points[][2] = {{0, 0},
                                     {r.x, r.y},
                                     {r.x + r.width - 1, r.y + r.height - 1},
                                     {r.x + r.width / 3, r.y + r.height / 2},
                                     {r.x + 7, r.y + r.height - 5},
                                     {size.width - 1, size.height - 1}};
        for (int32_t orientation = 0; orientation < 4; ++orientation) {
            device.screen.orientation = orientation;
            const bool turned = orientation % 2 == 1;
            const int32_t lw = turned ? H : W, lh = turned ? W : H;
            for (const auto& p : points) {
                const std::string what = std::to_string(size.width) + "x" + std::to_string(size.height) +
                                         ", orientation " + std::to_string(orientation) + ", window " +
                                         std::to_string(p[0]) + "," + std::to_string(p[1]);
                // The frame pixel under the window pixel's centre, then turned.
                const auto fx = static_cast<int32_t>(std::floor((p[0] - r.x + 0.5) * W / r.width));
                const auto fy = static_cast<int32_t>(std::floor((p[1] - r.y + 0.5) * H / r.height));
                const int32_t turn[4][2] = {{fx, fy}, {fy, W - 1 - fx}, {W - 1 - fx, H - 1 - fy}, {H - 1 - fy, fx}};
                const int32_t want_x = std::clamp(turn[orientation][0], 0, lw);
                const int32_t want_y = std::clamp(turn[orientation][1], 0, lh);
                move(p[0], p[1]);
                frame();
                int32_t x = -1, y = -1, left = -1, right = -1;
                mouse_state(x, y, left, right);
                EXPECT_EQ(x, want_x) << what;
                EXPECT_EQ(y, want_y) << what;
            }
            // Shown at least at its own size, every logical pixel has window pixels:
            // logical_to_window gives one that maps back to it.
            if (r.width >= W) {
                const ScreenFrame f = current_screen_frame(0, 0);
                for (int32_t ly = 0; ly < lh; ly += 7) {
                    for (int32_t lx = 0; lx < lw; lx += 3) {
                        int32_t wx = 0, wy = 0, bx = 0, by = 0;
                        logical_to_window(f, lx, ly, wx, wy);
                        window_to_logical(f, wx, wy, bx, by);
                        ASSERT_EQ(bx, lx) << size.width << ", orientation " << orientation << ", " << ly;
                        ASSERT_EQ(by, ly) << size.width << ", orientation " << orientation << ", " << lx;
                    }
                }
            }
        }
    }
}

// In a window showing the screen at twice its size, motion counts in logical pixels.
TEST_F(MouseTest, AScaledWindowCountsMotionInLogicalPixels) {
    OpenGLRainbows& device = *graphics_device();
    ScreenScaling& scaling = device.display.scaling;
    scaling.active = 1;
    scaling.width = 480;
    scaling.height = 640;
    scaling.window_width = 960;
    scaling.window_height = 1280;
    move(200, 200);
    frame();
    move(240, 160);
    drain();
    EXPECT_EQ(mouse_axis(0), 20);
    EXPECT_EQ(mouse_axis(1), -20);
    device.screen.orientation = 1;
    EXPECT_EQ(mouse_axis(0), -20);
    EXPECT_EQ(mouse_axis(1), -20);
}

TEST(Orientation, MappingsRoundTripAndTurnAxes) {
    struct Case {
        int32_t orientation, wx, wy, lx, ly;
        double ra, rb;  // rotate_axes(1, 2)
    };
    // W = 640, H = 480; window point (100, 30).
    const Case cases[] = {
        {0, 100, 30, 100, 30, 1, 2},
        {1, 100, 30, 30, 539, -2, 1},
        {2, 100, 30, 539, 449, -1, -2},
        {3, 100, 30, 449, 100, 2, -1},
    };
    for (const Case& c : cases) {
        const ScreenFrame f{c.orientation, 640, 480};
        int32_t lx = 0, ly = 0, wx = 0, wy = 0;
        window_to_logical(f, c.wx, c.wy, lx, ly);
        EXPECT_EQ(lx, c.lx) << c.orientation;
        EXPECT_EQ(ly, c.ly) << c.orientation;
        logical_to_window(f, lx, ly, wx, wy);
        EXPECT_EQ(wx, c.wx) << c.orientation;
        EXPECT_EQ(wy, c.wy) << c.orientation;
        double ra = 0, rb = 0;
        rotate_axes(f, 1, 2, ra, rb);
        EXPECT_EQ(ra, c.ra) << c.orientation;
        EXPECT_EQ(rb, c.rb) << c.orientation;
    }
}

}  // namespace
}  // namespace tvk
