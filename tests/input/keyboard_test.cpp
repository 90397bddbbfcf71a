#include <gtest/gtest.h>

#include <string>

#include "input/input_fixture.h"
#include "runtime/core/frame_flip.h"
#include "runtime/input/input_commands.h"

namespace tvk {
namespace {

using KeyboardTest = input_test::InputTest;

TEST_F(KeyboardTest, KeysFollowTheDrainedEventsAtEachFrame) {
    key(56, true);
    key(62, true);
    frame();
    EXPECT_EQ(key_down(56), 1);
    EXPECT_EQ(key_down(62), 1);
    EXPECT_TRUE(input_key_state(56) && input_key_state(62));
    EXPECT_EQ(key_down(57), 0);
    EXPECT_EQ(key_down(56 + 256), 1);  // codes are masked to 8 bits
    key(56, false);
    key(62, false);
    frame();
    EXPECT_EQ(key_down(56), 0);
    EXPECT_FALSE(input_any_key_down());
}

// The bounded wait reports what it saw; the key and mouse waits return on theirs
// only, so a key held down does not end a wait for the mouse.
TEST_F(KeyboardTest, InputWaitsReturnOnTheInputTheyWaitFor) {
    EXPECT_EQ(wait_input_step(), 0);
    move(10, 20);
    EXPECT_EQ(wait_input_step(), kInputMouse);
    key(30, true);
    EXPECT_EQ(wait_input_step(), kInputKey);
    wait_key();
    EXPECT_EQ(wait_input_step(kInputMouse), 0);
    button(1, true, 10, 20);
    wait_mouse();
    key(30, false);
    button(1, false, 10, 20);
    frame();
    EXPECT_EQ(wait_input_step(kInputKey), 0);
}

TEST_F(KeyboardTest, EveryHundredAndTwentyNinthQueryPollsAfresh) {
    // Arrow keys and Enter come through the platform's key mapping too.
    for (int code : {200, 203, 205, 208, 28, 1, 14, 42, 57, 59, 68}) {
        key(static_cast<uint8_t>(code), true);
        frame();
        EXPECT_EQ(key_down(code), 1) << int(code);
        key(static_cast<uint8_t>(code), false);
        drain();  // released, but no frame has sampled it
        for (int query = 2; query <= 128; ++query) ASSERT_EQ(key_down(code), 1) << query;
        EXPECT_EQ(key_down(code), 0) << int(code);
    }
}

TEST_F(KeyboardTest, TypedCharacterQueueKeepsSixteen) {
    for (int c : {int{'a'}, 0, 1, 27, 31}) push_typed_char(static_cast<uint8_t>(c));  // controls are not typed text
    push_typed_char(13);
    push_typed_char(8);
    push_typed_char(9);
    for (int i = 0; i < 12; ++i) push_typed_char(static_cast<uint8_t>('b' + i));
    ASSERT_EQ(input_device()->typed_chars.size(), 16u);
    push_typed_char('z');  // the 17th is dropped
    push_typed_char('y');
    EXPECT_STREQ(get_typed_key().c_str(), "a");
    EXPECT_EQ(pop_typed_char(), 10);  // carriage return arrives as line feed
    EXPECT_EQ(pop_typed_char(), 8);
    EXPECT_EQ(discard_typed_char(), 1);
    std::string rest;
    for (RtString c = get_typed_key(); !c.empty(); c = get_typed_key()) rest += c.c_str();
    EXPECT_EQ(rest, "bcdefghijklm");
    EXPECT_STREQ(get_typed_key().c_str(), "");
    EXPECT_EQ(discard_typed_char(), 0);
}

}  // namespace
}  // namespace tvk
