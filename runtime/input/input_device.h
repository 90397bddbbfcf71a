#pragma once
// The runtime's one input object: the key table, the mouse record, the typed
// characters and the joysticks, sampled from the platform's event record.
//
// The keyboard and pointer come from the events the message pump drains (see
// platform/events.h): the key table is a copy of the platform's key states taken
// at each poll; the mouse is read as absolute window positions while the pointer
// is shown and as relative motion while it is hidden (and captured).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tvk::platform {
struct Window;
}

namespace tvk {

constexpr int32_t kMaxJoysticks = 10;
constexpr int32_t kJoystickNameBytes = 522;
constexpr size_t kTypedCharLimit = 16;

struct MouseRecord {
    int32_t x = 0, y = 0;                      // current position, window pixels
    int32_t previous_x = 100, previous_y = 100;
    int32_t wheel = 0;                         // wheel steps since the last commit
};

struct MouseSample {
    int16_t left = 0, right = 0, middle = 0;
    int16_t dx = 0, dy = 0;
    int16_t wheel = 0;
};

struct JoystickState {
    int32_t x = 0, y = 0, z = 0;
    int32_t rotation_x = 0, rotation_y = 0, rotation_z = 0;
    int32_t sliders[2] = {};
    uint32_t hats[4] = {};
    uint8_t buttons[32] = {};
};

// Mouse cooperation levels: exclusive with the pointer hidden, shared with it shown.
constexpr int32_t kMouseLevelHidden = 5;
constexpr int32_t kMouseLevelShown = 6;

struct InputDevice {
    std::vector<uint8_t> typed_chars;          // oldest first, at most 16
    std::vector<MouseRecord> mouse_records;    // one record per mouse; only record 0 exists
    int32_t current_mouse = 0;
    int32_t joystick_count = 0;
    std::array<std::string, kMaxJoysticks> joystick_names;
    std::array<uint8_t, 256> key_table{};      // bit 7 set = down
    platform::Window* window = nullptr;
    uint8_t pointer_shown = 0;
    int32_t mouse_cooperation_level = kMouseLevelShown;
    int32_t key_query_counter = 0;             // key_down polls afresh every 129th query
    // What the platform's pointer record said at the previous read, so that each
    // read takes only the motion and wheel steps since then.
    int32_t seen_pointer_x = 0, seen_pointer_y = 0, seen_wheel = 0;
    bool devices_created = false;
};

// The process's input object; null before create_input_object and after release.
InputDevice* input_device();
InputDevice& create_input_object();

// Brings up the devices for the main window: returns 1.
int32_t create_input_devices(platform::Window* window, bool hide_pointer);
// Shows the pointer again, closes the joysticks and frees the object.
void release_input_devices();

void poll_keyboard();
// Reads the current mouse record; with commit the motion and wheel are consumed.
MouseSample read_mouse(bool commit);
int32_t any_mouse_button();
JoystickState read_joystick(int32_t index);
// Whether a joystick shows input as the input waits see it: any of its 32 buttons
// down, its X, Y or Z axis beyond a tenth of full scale, or its first hat pointing
// in one of the eight principal directions.
bool joystick_shows_input(const JoystickState& state);
// Reads the joysticks from the last to the first; true at the first showing input.
bool any_joystick_input();
void apply_pointer_setting(bool shown);
void rebind_input_window(platform::Window* window);

// The typed-character queue (the message pump pushes, the program pops).
void push_typed_char(uint8_t byte);
uint8_t pop_typed_char();
int32_t discard_typed_char();

// The per-frame sample of the frame flip and of the waiting loops.
void update_input();
// A key's state as key_down reads it, without counting the query.
bool input_key_state(uint8_t code);
bool input_any_key_down();

}  // namespace tvk
