#pragma once
// Input tests drive the real event queue: events are posted into SDL's queue and
// drained by the message pump, then sampled as a frame flip samples them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/core/hook_wiring.h"
#include "runtime/core/message_pump.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/input/input_device.h"
#include "runtime/platform/events.h"
#include "runtime/platform/window.h"
#include "support/test_env.h"

namespace tvk::input_test {

class InputTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", testing_support::kHeadlessVideoDriver, 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::string why;
        ASSERT_TRUE(platform::video_start(why)) << why;
    }

    void SetUp() override {
        connect_layer_hooks();
        OpenGLRainbows& device = create_graphics_device();
        device.display.window_width = 480;
        device.display.window_height = 640;
        drain();
        platform::clear_key_states();
        create_input_devices(nullptr, false);
    }

    void TearDown() override {
        release_input_devices();
        destroy_graphics_device();
    }

    // Twice: a pump can stop at the marker SDL leaves at the end of the previous
    // drain, before the events queued behind it.
    static void drain() {
        pump_messages(nullptr, nullptr);
        pump_messages(nullptr, nullptr);
    }

    static void post(platform::Event e) { ASSERT_TRUE(platform::post_event(e)); }
    static void key(uint8_t code, bool down) {
        platform::Event e;
        e.kind = down ? platform::EventKind::key_down : platform::EventKind::key_up;
        e.key_code = code;
        post(e);
    }
    static void move(int32_t x, int32_t y) {
        platform::Event e;
        e.kind = platform::EventKind::pointer_motion;
        e.x = x;
        e.y = y;
        post(e);
    }
    static void button(int32_t which, bool down, int32_t x, int32_t y) {
        platform::Event e;
        e.kind = down ? platform::EventKind::button_down : platform::EventKind::button_up;
        e.button = which;
        e.x = x;
        e.y = y;
        post(e);
    }
    static void wheel(int32_t steps) {
        platform::Event e;
        e.kind = platform::EventKind::wheel;
        e.wheel = steps;
        post(e);
    }
    // What a frame flip does with input: drain the queue, then sample once.
    static void frame() {
        drain();
        update_input();
    }
};

}  // namespace tvk::input_test
