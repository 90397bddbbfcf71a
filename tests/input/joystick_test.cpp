// Joysticks through a virtual controller attached to SDL's joystick layer.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "input/input_fixture.h"
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

}  // namespace
}  // namespace tvk
