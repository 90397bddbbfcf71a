// Pausing on focus changes, the program's handlers called by name, the window
// procedure's rows and the once-only quit notification.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/core/core_state.h"
#include "runtime/core/entry.h"
#include "runtime/core/frame_flip.h"
#include "runtime/core/hook_wiring.h"
#include "runtime/core/message_pump.h"
#include "runtime/core/named_handlers.h"
#include "runtime/core/shutdown.h"
#include "runtime/platform/events.h"
#include "runtime/platform/window.h"
#include "runtime/value/program_settings.h"
#include "support/test_env.h"

namespace tvk {

// The runtime's entry is not used here, but the library names the program's routines.
void program_settings() {}
void program_main() {}

namespace {

struct Calls {
    int pause = 0, resume = 0, quit = 0;
};
Calls g_calls;

const NamedHandler kHandlers[] = {
    {[] { ++g_calls.pause; }, "TVK_ON_PAUSE"},
    {[] { ++g_calls.resume; }, "TVK_ON_RESUME"},
    {[] {
         ++g_calls.quit;
         std::fputs("quit handler\n", stderr);
     },
     "TVK_ON_QUIT"},
    {nullptr, nullptr},
};

class PauseTest : public ::testing::Test {
protected:
    void SetUp() override {
        connect_layer_hooks();
        core_state() = CoreState{};
        core_state().auto_pause = 1;
        runtime_settings().debug_mode = 0;
        g_calls = Calls{};
        set_named_handler_table(kHandlers);
    }
    void TearDown() override { set_named_handler_table(nullptr); }
};

TEST_F(PauseTest, FocusLossPausesOnceAndFocusGainResumes) {
    set_pause_state(1);
    EXPECT_EQ(core_state().paused, 1);
    set_pause_state(1);  // already paused: no second notification
    EXPECT_EQ(g_calls.pause, 1);
    set_pause_state(0);
    EXPECT_EQ(core_state().paused, 0);
    set_pause_state(0);
    EXPECT_EQ(g_calls.resume, 1);
}

TEST_F(PauseTest, WithoutAutoPauseFocusLossDoesNotPause) {
    core_state().auto_pause = 0;
    set_pause_state(1);
    EXPECT_EQ(core_state().paused, 0);
    EXPECT_EQ(g_calls.pause, 0);
}

TEST_F(PauseTest, SwitchingAutoPauseOffWhilePausedResumes) {
    set_pause_state(1);
    set_auto_pause(0);
    EXPECT_EQ(core_state().paused, 0);
    EXPECT_EQ(g_calls.resume, 1);
    set_auto_pause(1);
    EXPECT_EQ(g_calls.pause, 1);
}

TEST_F(PauseTest, CallByNameFindsExactNamesOnly) {
    EXPECT_EQ(call_by_name("TVK_ON_PAUSE"), 1);
    EXPECT_EQ(g_calls.pause, 1);
    EXPECT_EQ(call_by_name("tvk_on_pause"), 0);
    EXPECT_EQ(call_by_name("TVK_ON_PAUS"), 0);
    EXPECT_EQ(call_by_name("TVK_WIN32_MSG"), 0);
    set_named_handler_table(nullptr);
    EXPECT_EQ(call_by_name("TVK_ON_PAUSE"), 0);
    EXPECT_EQ(g_calls.pause, 1);
}

TEST_F(PauseTest, QuitHandlerRunsOnceOverRepeatedShutdowns) {
    shutdown_runtime();
    shutdown_runtime();
    EXPECT_EQ(g_calls.quit, 1);
}

// The window procedure on a real (display-less) window: focus changes retitle the
// window and pause; in debug mode they do neither; a close request ends the
// process through the stop with status 0 and one quit notification.
class WindowProcedureTest : public PauseTest {
protected:
    void SetUp() override {
        PauseTest::SetUp();
        testing_support::use_headless_video();
        std::string why;
        ASSERT_TRUE(platform::video_start(why)) << why;
        window_ = platform::create_window("Tavrick", 32, 32, {}, why);
        ASSERT_NE(window_, nullptr) << why;
        core_state().main_window = window_;
        core_state().stored_title = RtString("Probe");
        platform::set_window_title(window_, "Probe");
    }
    void TearDown() override {
        platform::destroy_window(window_);
        core_state().main_window = nullptr;
        PauseTest::TearDown();
    }
    static platform::Event event_of(platform::EventKind kind) {
        platform::Event e;
        e.kind = kind;
        return e;
    }
    platform::Window* window_ = nullptr;
};

TEST_F(WindowProcedureTest, FocusLossAddsPauseToTheTitleAndFocusGainRestoresIt) {
    window_procedure(event_of(platform::EventKind::focus_lost));
    EXPECT_EQ(platform::window_title(window_), "Probe <pause>");
    EXPECT_EQ(core_state().paused, 1);
    window_procedure(event_of(platform::EventKind::focus_gained));
    EXPECT_EQ(platform::window_title(window_), "Probe");
    EXPECT_EQ(core_state().paused, 0);
}

TEST_F(WindowProcedureTest, DebugModeNeitherRetitlesNorPauses) {
    runtime_settings().debug_mode = 1;
    window_procedure(event_of(platform::EventKind::focus_lost));
    EXPECT_EQ(platform::window_title(window_), "Probe");
    EXPECT_EQ(core_state().paused, 0);
    runtime_settings().debug_mode = 0;
}

TEST_F(WindowProcedureTest, EventsPostedToTheQueueReachTheProcedureThroughThePump) {
    platform::Event lost = event_of(platform::EventKind::focus_lost);
    lost.window_id = platform::window_id(window_);
    ASSERT_TRUE(platform::post_event(lost));
    platform::Event esc = event_of(platform::EventKind::key_down);
    esc.key_code = 1;
    ASSERT_TRUE(platform::post_event(esc));
    EXPECT_EQ(pump_messages(nullptr, nullptr), 1);
    EXPECT_EQ(core_state().paused, 1);
    EXPECT_EQ(platform::key_states()[1], 0x80);
}

TEST_F(WindowProcedureTest, CloseRequestEndsTheProcessThroughOneShutdown) {
    EXPECT_EXIT(window_procedure(event_of(platform::EventKind::close_request)),
                ::testing::ExitedWithCode(0), "^quit handler\n$");
}

}  // namespace
}  // namespace tvk
