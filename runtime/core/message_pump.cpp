#include "runtime/core/message_pump.h"

#include <string>

#include "runtime/core/core_state.h"
#include "runtime/core/frame_flip.h"
#include "runtime/core/named_handlers.h"
#include "runtime/input/input_device.h"
#include "runtime/platform/window.h"
#include "runtime/value/error_state.h"
#include "runtime/value/program_settings.h"

namespace tvk {

namespace {

// Backspace, Tab and Enter give no text of their own; their key presses stand for
// their characters, as a translated key-down would.
uint8_t character_of_key(uint8_t key_code) {
    switch (key_code) {
        case 14: return 8;
        case 15: return 9;
        case 28:
        case 156: return 13;
        default: return 0;
    }
}

// F11, and Enter or the keypad's Enter with Alt held: the keys that switch a
// scaled screen between its window and full screen.
bool fullscreen_key(const platform::Event& event) {
    if (event.kind != platform::EventKind::key_down || event.repeat) return false;
    return event.key_code == 87 || ((event.key_code == 28 || event.key_code == 156) && event.alt);
}

}  // namespace

int32_t pump_messages(OpenGLRainbows* device, MessageCallback callback) {
    const uint32_t main_id =
        platform::window_id(device ? device->display.window : core_state().main_window);
    platform::Event event;
    while (platform::event_pending()) {
        if (callback) callback();
        if (!platform::poll_event(event)) break;
        if (event.window_id != 0 && main_id != 0 && event.window_id != main_id) continue;
        // The full screen keys of a scaled screen are the window's own: Alt+Enter
        // types no line end.
        const OpenGLRainbows* screen = graphics_device();
        const bool switches_screen = fullscreen_key(event) && screen && screen->display.scaling.active;
        if (event.kind == platform::EventKind::text_input) {
            for (uint8_t i = 0; i < event.text_length; ++i) push_typed_char(event.text[i]);
        } else if (event.kind == platform::EventKind::key_down && !switches_screen) {
            if (const uint8_t c = character_of_key(event.key_code)) push_typed_char(c);
        }
        window_procedure(event);
    }
    return 1;
}

void window_procedure(const platform::Event& event) {
    CoreState& core = core_state();
    switch (event.kind) {
        case platform::EventKind::focus_lost:
            if (runtime_settings().debug_mode != 0) break;
            platform::set_window_title(core.main_window,
                                       (std::string(core.stored_title.c_str()) + " <pause>").c_str());
            set_pause_state(1);
            break;
        case platform::EventKind::focus_gained:
            if (runtime_settings().debug_mode != 0) break;
            platform::set_window_title(core.main_window, core.stored_title.c_str());
            set_pause_state(0);
            break;
        case platform::EventKind::resized:
            if (OpenGLRainbows* device = graphics_device())
                screen_window_resized(*device, event.width, event.height);
            break;
        case platform::EventKind::key_down:
            if (OpenGLRainbows* device = graphics_device(); device && fullscreen_key(event))
                toggle_fullscreen(*device);
            break;
        case platform::EventKind::close_request:
            runtime_stop();
            // Back here only while a stop is already under way: the window goes now,
            // and the stop in progress ends the process.
            if (core.main_window) {
                if (OpenGLRainbows* device = graphics_device()) {
                    if (device->display.window == core.main_window) device->display.window = nullptr;
                }
                platform::destroy_window(core.main_window);
                core.main_window = nullptr;
            }
            break;
        default:
            break;
    }
}

MessageCallback window_message_handler() {
    CoreState& core = core_state();
    if (core.window_message_handler_state == -1) {
        core.window_message_handler = find_named_handler("TVK_WIN32_MSG");
        core.window_message_handler_state = core.window_message_handler ? 1 : 0;
    }
    return core.window_message_handler;
}

}  // namespace tvk
