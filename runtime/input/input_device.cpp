#include "runtime/input/input_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "runtime/input/input_hooks.h"
#include "runtime/platform/events.h"
#include "runtime/platform/joysticks.h"
#include "runtime/platform/mouse.h"
#include "runtime/platform/system_ui.h"
#include "runtime/platform/window.h"

namespace tvk {

namespace {

std::unique_ptr<InputDevice>& input_holder() {
    static std::unique_ptr<InputDevice> device;
    return device;
}

MouseRecord& current_record(InputDevice& input) {
    if (input.mouse_records.empty()) input.mouse_records.resize(1);
    const auto index = static_cast<size_t>(input.current_mouse);
    return input.mouse_records[index < input.mouse_records.size() ? index : 0];
}

// The bounds the mouse is clamped to: the window's size (inclusive).
void window_bounds(const InputDevice& input, int32_t& width, int32_t& height) {
    width = height = 0;
    if (input.window) platform::window_client_size(input.window, width, height);
    if (width <= 0 || height <= 0) {
        ScreenFrame frame;
        if (input_hooks().screen_frame && input_hooks().screen_frame(frame)) window_size(frame, width, height);
    }
}

int32_t sign(int32_t v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

}  // namespace

InputDevice* input_device() { return input_holder().get(); }

InputDevice& create_input_object() {
    auto& holder = input_holder();
    if (!holder) {
        holder = std::make_unique<InputDevice>();
        holder->typed_chars.reserve(512);
        holder->mouse_records.reserve(4);
        holder->mouse_records.resize(1);
    }
    return *holder;
}

int32_t create_input_devices(platform::Window* window, bool hide_pointer) {
    InputDevice& input = create_input_object();
    input.current_mouse = 0;
    input.window = window;
    const platform::PointerRecord pointer = platform::pointer_record();
    MouseRecord& r = input.mouse_records[0];
    r.x = r.previous_x = pointer.x;
    r.y = r.previous_y = pointer.y;
    input.seen_pointer_x = pointer.x;
    input.seen_pointer_y = pointer.y;
    input.seen_wheel = pointer.wheel;
    input.key_table.fill(0);
    input.pointer_shown = 0;
    if (hide_pointer) {
        input.mouse_cooperation_level = kMouseLevelHidden;
        platform::set_pointer_captured(true);
        platform::show_pointer(false);
    } else {
        apply_pointer_setting(true);
    }
    input.joystick_count = platform::open_joysticks(kMaxJoysticks);
    for (int32_t i = 0; i < input.joystick_count; ++i) {
        // The instance name and the product name; the platform knows one name for both.
        const std::string name = platform::joystick_device_name(i);
        std::string joined = name + ", " + name;
        if (joined.size() > kJoystickNameBytes - 1) joined.resize(kJoystickNameBytes - 1);
        input.joystick_names[static_cast<size_t>(i)] = joined;
    }
    input.devices_created = true;
    return 1;
}

void release_input_devices() {
    auto& holder = input_holder();
    if (!holder) return;
    apply_pointer_setting(true);
    platform::close_joysticks();
    holder.reset();
}

void poll_keyboard() {
    InputDevice* input = input_device();
    if (!input) return;
    std::memcpy(input->key_table.data(), platform::key_states(), input->key_table.size());
}

MouseSample read_mouse(bool commit) {
    MouseSample sample;
    InputDevice* input = input_device();
    if (!input) return sample;
    MouseRecord& r = current_record(*input);
    const bool absolute = input->pointer_shown != 0;
    int32_t x = absolute ? r.previous_x : r.x;
    int32_t y = absolute ? r.previous_y : r.y;

    const platform::PointerRecord pointer = platform::pointer_record();
    const int32_t wheel_delta = sign(pointer.wheel - input->seen_wheel);
    if (absolute) {
        x = pointer.x;
        y = pointer.y;
    } else {
        x += pointer.x - input->seen_pointer_x;
        y += pointer.y - input->seen_pointer_y;
    }
    input->seen_pointer_x = pointer.x;
    input->seen_pointer_y = pointer.y;
    input->seen_wheel = pointer.wheel;
    // A button pressed since the last sample reads as down until the next one, so
    // that a press and release drained together still count once.
    sample.left = pointer.left || pointer.pressed_left ? 1 : 0;
    sample.right = pointer.right || pointer.pressed_right ? 1 : 0;
    sample.middle = pointer.middle || pointer.pressed_middle ? 1 : 0;

    int32_t width = 0, height = 0;
    window_bounds(*input, width, height);
    x = std::clamp(x, 0, std::max(width, 0));
    y = std::clamp(y, 0, std::max(height, 0));

    if (!absolute) {
        r.x = x;
        r.y = y;
    }
    sample.dx = static_cast<int16_t>(x - r.previous_x);
    sample.dy = static_cast<int16_t>(y - r.previous_y);
    sample.wheel = static_cast<int16_t>(r.wheel + wheel_delta);
    if (!commit) {
        r.wheel = sample.wheel;
    } else {
        if (absolute) {
            r.x = r.previous_x = x;
            r.y = r.previous_y = y;
        } else {
            r.previous_x = r.x;
            r.previous_y = r.y;
        }
        r.wheel = 0;
    }
    return sample;
}

int32_t any_mouse_button() {
    InputDevice* input = input_device();
    if (!input) return 0;
    for (size_t i = 0; i < input->mouse_records.size(); ++i) read_mouse(true);
    const MouseSample s = read_mouse(false);
    return (s.left || s.right || s.middle) ? 1 : 0;
}

JoystickState read_joystick(int32_t index) {
    JoystickState state;
    InputDevice* input = input_device();
    platform::JoystickReading reading;
    if (!input || index < 0 || index >= input->joystick_count ||
        !platform::read_joystick_state(index, reading)) {
        return state;
    }
    state.x = reading.axes[0];
    state.y = reading.axes[1];
    state.z = reading.axes[2];
    state.rotation_x = reading.axes[3];
    state.rotation_y = reading.axes[4];
    state.rotation_z = reading.axes[5];
    std::copy(std::begin(reading.sliders), std::end(reading.sliders), state.sliders);
    std::copy(std::begin(reading.hats), std::end(reading.hats), state.hats);
    std::copy(std::begin(reading.buttons), std::end(reading.buttons), state.buttons);
    return state;
}

bool joystick_shows_input(const JoystickState& state) {
    for (const uint8_t button : state.buttons) {
        if (button != 0) return true;
    }
    for (const int32_t axis : {state.x, state.y, state.z}) {
        if (std::abs(axis / 32767.0) > 0.1) return true;
    }
    const uint32_t hat = state.hats[0];
    return hat < 36000 && hat % 4500 == 0;
}

bool any_joystick_input() {
    const InputDevice* input = input_device();
    if (!input) return false;
    for (int32_t index = input->joystick_count - 1; index >= 0; --index) {
        if (joystick_shows_input(read_joystick(index))) return true;
    }
    return false;
}

void apply_pointer_setting(bool shown) {
    InputDevice* input = input_device();
    if (!input) {
        platform::show_pointer(shown);
        return;
    }
    input->mouse_cooperation_level = shown ? kMouseLevelShown : kMouseLevelHidden;
    platform::set_pointer_captured(!shown);
    if (shown) {
        if (input->pointer_shown == 0) {
            const MouseRecord& r = current_record(*input);
            platform::warp_pointer(input->window, r.previous_x, r.previous_y);
        }
        platform::set_arrow_pointer();
        platform::show_pointer(true);
    } else {
        platform::show_pointer(false);
    }
    input->pointer_shown = shown ? 1 : 0;
}

void rebind_input_window(platform::Window* window) {
    if (InputDevice* input = input_device()) input->window = window;
}

void push_typed_char(uint8_t byte) {
    InputDevice* input = input_device();
    if (!input || byte == 0) return;
    if (byte == 13) byte = 10;
    if (byte < 32 && byte != 8 && byte != 9 && byte != 10) return;
    if (input->typed_chars.size() >= kTypedCharLimit) return;
    input->typed_chars.push_back(byte);
}

uint8_t pop_typed_char() {
    InputDevice* input = input_device();
    if (!input || input->typed_chars.empty()) return 0;
    uint8_t byte = input->typed_chars.front();
    input->typed_chars.erase(input->typed_chars.begin());
    return byte == 13 ? 10 : byte;
}

int32_t discard_typed_char() { return pop_typed_char() != 0 ? 1 : 0; }

void update_input() {
    InputDevice* input = input_device();
    if (!input) return;
    input->key_query_counter = 0;
    poll_keyboard();
    for (size_t i = 0; i < input->mouse_records.size(); ++i) read_mouse(true);
    platform::end_pointer_sample();
}

bool input_key_state(uint8_t code) {
    const InputDevice* input = input_device();
    return input && (input->key_table[code] & 0x80) != 0;
}

bool input_any_key_down() {
    const InputDevice* input = input_device();
    if (!input) return false;
    return std::any_of(input->key_table.begin(), input->key_table.end(),
                       [](uint8_t k) { return (k & 0x80) != 0; });
}

}  // namespace tvk
