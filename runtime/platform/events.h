#pragma once
// The event service: the queue of the main window's events, drained one by one.
//
// Contract: poll_event() takes the oldest pending event and, as it does, keeps the
// platform's own key table and pointer record up to date, so that the state of
// keys and buttons follows exactly the events the runtime has drained (including
// events posted by post_event). Key codes are the keyboard scan codes 0..255 the
// runtime uses everywhere (1 = Esc, 56 = left Alt, 62 = F4, 200 = Up, ...).
#include <cstdint>

namespace tvk::platform {

enum class EventKind : uint8_t {
    other,
    focus_lost,
    focus_gained,
    close_request,   // the window's close button, or the system asking the program to end
    resized,         // the client area has a new size (by the user, the system or the program)
    key_down,
    key_up,
    text_input,      // typed text folded to single bytes
    pointer_motion,
    button_down,
    button_up,
    wheel,
};

struct Event {
    EventKind kind = EventKind::other;
    uint32_t window_id = 0;
    uint8_t key_code = 0;      // key_down, key_up
    bool repeat = false;       // key_down from auto-repeat
    bool alt = false;          // key_down, key_up: an Alt key is held
    uint8_t text_length = 0;   // text_input
    uint8_t text[31] = {};
    int32_t x = 0, y = 0;      // pointer position in client pixels
    int32_t button = 0;        // 1 left, 2 middle, 3 right
    int32_t wheel = 0;         // wheel steps, positive away from the user
    int32_t width = 0, height = 0;  // resized: the client area's new size in pixels
};

struct PointerRecord {
    int32_t x = 0, y = 0;
    bool left = false, right = false, middle = false;
    int32_t wheel = 0;         // wheel steps summed over all drained events
    // Buttons pressed since the last end_pointer_sample, down or up now: a press and
    // release drained together (a tap on a touchpad) leave no other trace.
    bool pressed_left = false, pressed_right = false, pressed_middle = false;
};

bool event_pending();
bool poll_event(Event& event);
// Puts an event at the end of the queue, as if the system had sent it.
bool post_event(const Event& event);

// A sample of the keyboard: 256 bytes, 0x80 for a key that is down, or that was
// pressed since the previous sample (so a tap shorter than a frame still shows as
// down in one frame's sample). Each call takes a new sample.
const uint8_t* key_states();
void clear_key_states();
PointerRecord pointer_record();
// Forgets the presses recorded so far; the input layer calls it once per sample.
void end_pointer_sample();

}  // namespace tvk::platform
