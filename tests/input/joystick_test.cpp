// Joysticks through a virtual controller attached to SDL's joystick layer.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "input/input_fixture.h"
#include "runtime/core/frame_flip.h"
#include "runtime/input/joystick_commands.h"

namespace tvk {
namespace {

class JoystickTest : public input_test::InputTest {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
        index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 32, 1);
        ASSERT_GE(index_, 0) << SDL_GetError();
        InputTest::SetUp();  // finds the joystick
        handle_ = SDL_JoystickOpen(index_);
        ASSERT_NE(handle_, nullptr);
    }
    void TearDown() override {
        InputTest::TearDown();
        SDL_JoystickClose(handle_);
        SDL_JoystickDetachVirtual(index_);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    int index_ = -1;
    SDL_Joystick* handle_ = nullptr;
};

TEST_F(JoystickTest, AxesButtonsAndHatsOfTheFirstJoystick) {
    ASSERT_EQ(joystick_count(), 1);
    const std::string name = joystick_name(0).c_str();
    EXPECT_NE(name.find(", "), std::string::npos) << name;
    EXPECT_STREQ(joystick_name(1).c_str(), "");
    SDL_JoystickSetVirtualAxis(handle_, 0, 16384);
    SDL_JoystickSetVirtualAxis(handle_, 1, -32768);
    SDL_JoystickSetVirtualAxis(handle_, 2, 32767);
    SDL_JoystickSetVirtualButton(handle_, 3, 1);
    SDL_JoystickSetVirtualButton(handle_, 0, 1);
    SDL_JoystickSetVirtualHat(handle_, 0, SDL_HAT_RIGHTUP);
    EXPECT_NEAR(joystick_x(0), 0.5, 0.001);
    EXPECT_EQ(joystick_y(0), -1.0);  // -32768 / 32767 clamped
    EXPECT_EQ(joystick_z(0), 1.0);
    EXPECT_NE(joystick_button(0, 3), 0);
    EXPECT_EQ(joystick_button(0, 4), 0);
    EXPECT_EQ(joystick_button(0, 32), 0);
    EXPECT_EQ(joystick_hat_x(0), 1);
    EXPECT_EQ(joystick_hat_y(0), -1);
    int32_t x = 0, y = 0, b1 = 0, b2 = 0;
    joystick_state(x, y, b1, b2);
    EXPECT_EQ(x, 0);   // 16384 / 30000 truncated
    EXPECT_EQ(y, -1);
    EXPECT_NE(b1, 0);
    EXPECT_EQ(b2, 0);
    // A quarter-turned screen turns the stick with it.
    graphics_device()->screen.orientation = 1;
    EXPECT_EQ(joystick_x(0), 1.0);  // -y
    EXPECT_NEAR(joystick_y(0), 0.5, 0.001);
    // Indices without a joystick read as at rest.
    EXPECT_EQ(joystick_x(2), 0.0);
    EXPECT_EQ(joystick_button(-1, 0), 0);
    joystick_rumble(0, 100, 1, 0);  // a virtual joystick has no motors: nothing happens
}

// The bounded input wait ends on a joystick showing input: a button, the X, Y or Z
// axis beyond a tenth of full scale, or the hat in one of its eight directions.
TEST_F(JoystickTest, InputWaitEndsOnButtonsAxesBeyondATenthAndTheEightHatDirections) {
    struct Case {
        const char* what;
        int axis = -1;        // which axis to move, -1 none
        int16_t value = 0;
        int button = -1;
        uint8_t hat = SDL_HAT_CENTERED;
        uint8_t seen;
    };
    const Case cases[] = {
        {"at rest", -1, 0, -1, SDL_HAT_CENTERED, 0},
        {"button 31", -1, 0, 31, SDL_HAT_CENTERED, kInputJoystick},
        {"X beyond a tenth", 0, 3600, -1, SDL_HAT_CENTERED, kInputJoystick},
        {"Y beyond a tenth, negative", 1, -3600, -1, SDL_HAT_CENTERED, kInputJoystick},
        {"Z beyond a tenth", 2, 3600, -1, SDL_HAT_CENTERED, kInputJoystick},
        {"X within a tenth", 0, 3200, -1, SDL_HAT_CENTERED, 0},
        {"rotation axis is not looked at", 3, 32767, -1, SDL_HAT_CENTERED, 0},
        {"hat up", -1, 0, -1, SDL_HAT_UP, kInputJoystick},
        {"hat right-up", -1, 0, -1, SDL_HAT_RIGHTUP, kInputJoystick},
        {"hat right", -1, 0, -1, SDL_HAT_RIGHT, kInputJoystick},
        {"hat right-down", -1, 0, -1, SDL_HAT_RIGHTDOWN, kInputJoystick},
        {"hat down", -1, 0, -1, SDL_HAT_DOWN, kInputJoystick},
        {"hat left-down", -1, 0, -1, SDL_HAT_LEFTDOWN, kInputJoystick},
        {"hat left", -1, 0, -1, SDL_HAT_LEFT, kInputJoystick},
        {"hat left-up", -1, 0, -1, SDL_HAT_LEFTUP, kInputJoystick},
    };
    for (const Case& c : cases) {
        for (int axis = 0; axis < 6; ++axis) SDL_JoystickSetVirtualAxis(handle_, axis, 0);
        for (int button = 0; button < 32; ++button) SDL_JoystickSetVirtualButton(handle_, button, 0);
        SDL_JoystickSetVirtualHat(handle_, 0, c.hat);
        if (c.axis >= 0) SDL_JoystickSetVirtualAxis(handle_, c.axis, c.value);
        if (c.button >= 0) SDL_JoystickSetVirtualButton(handle_, c.button, 1);
        EXPECT_EQ(wait_input_step(), c.seen) << c.what;
    }
}

}  // namespace
}  // namespace tvk
