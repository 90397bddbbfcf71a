#include <gtest/gtest.h>

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
