#include "runtime/input/joystick_commands.h"

#include <algorithm>
#include <cmath>

#include "runtime/input/input_device.h"
#include "runtime/input/orientation.h"
#include "runtime/platform/joysticks.h"
#include "runtime/platform/window.h"
#include "runtime/value/numeric_helpers.h"

namespace tvk {

namespace {

ScreenFrame screen_frame() {
    int32_t width = 0, height = 0;
    if (const InputDevice* input = input_device(); input && input->window) {
        platform::window_client_size(input->window, width, height);
    }
    return current_screen_frame(width, height);
}

double axis_value(int32_t raw) { return std::clamp(raw / 32767.0, -1.0, 1.0); }

enum class Axis { x, y, z, rotation_x, rotation_y, rotation_z };

double read_axis(double index, Axis axis) {
    const JoystickState s = read_joystick(to_int(index));
    double a = 0, b = 0;
    switch (axis) {
        case Axis::z: return axis_value(s.z);
        case Axis::rotation_z: return axis_value(s.rotation_z);
        case Axis::x:
        case Axis::y:
            rotate_axes(screen_frame(), axis_value(s.x), axis_value(s.y), a, b);
            return axis == Axis::x ? a : b;
        case Axis::rotation_x:
        case Axis::rotation_y:
            rotate_axes(screen_frame(), axis_value(s.rotation_x), axis_value(s.rotation_y), a, b);
            return axis == Axis::rotation_x ? a : b;
    }
    return 0;
}

// The first hat as a unit step; only the eight exact directions count.
void hat_direction(double index, int32_t& x, int32_t& y) {
    const uint32_t hat = read_joystick(to_int(index)).hats[0];
    const int32_t hx = (hat == 4500 || hat == 9000 || hat == 13500)    ? 1
                       : (hat == 22500 || hat == 27000 || hat == 31500) ? -1
                                                                        : 0;
    const int32_t hy = (hat == 0 || hat == 4500 || hat == 31500)        ? -1
                       : (hat == 13500 || hat == 18000 || hat == 22500) ? 1
                                                                        : 0;
    double a = 0, b = 0;
    rotate_axes(screen_frame(), hx, hy, a, b);
    x = static_cast<int32_t>(a);
    y = static_cast<int32_t>(b);
}

}  // namespace

int32_t joystick_count() {
    const InputDevice* input = input_device();
    return input ? input->joystick_count : 0;
}

RtString joystick_name(double index) {
    const InputDevice* input = input_device();
    const int32_t i = to_int(index);
    if (!input || i < 0 || i >= input->joystick_count) return RtString("");
    return RtString(input->joystick_names[static_cast<size_t>(i)].c_str());
}

double joystick_x(double index) { return read_axis(index, Axis::x); }
double joystick_y(double index) { return read_axis(index, Axis::y); }
double joystick_z(double index) { return read_axis(index, Axis::z); }
double joystick_rotation_x(double index) { return read_axis(index, Axis::rotation_x); }
double joystick_rotation_y(double index) { return read_axis(index, Axis::rotation_y); }
double joystick_rotation_z(double index) { return read_axis(index, Axis::rotation_z); }

int32_t joystick_button(double index, double button) {
    const int32_t b = to_int(button);
    if (b < 0 || b > 31) return 0;
    return read_joystick(to_int(index)).buttons[b];
}

int32_t joystick_hat_x(double index) {
    int32_t x = 0, y = 0;
    hat_direction(index, x, y);
    return x;
}

int32_t joystick_hat_y(double index) {
    int32_t x = 0, y = 0;
    hat_direction(index, x, y);
    return y;
}

void joystick_state(int32_t& x, int32_t& y, int32_t& button1, int32_t& button2) {
    const JoystickState s = read_joystick(0);
    x = s.x / 30000;
    y = s.y / 30000;
    button1 = s.buttons[0];
    button2 = s.buttons[1];
}

void joystick_state(double& x, double& y, double& button1, double& button2) {
    int32_t ix = 0, iy = 0, b1 = 0, b2 = 0;
    joystick_state(ix, iy, b1, b2);
    x = ix;
    y = iy;
    button1 = b1;
    button2 = b2;
}

void joystick_rumble(double index, double duration_ms, double force_x, double force_y) {
    const InputDevice* input = input_device();
    const int32_t i = to_int(index);
    if (!input || i < 0 || i >= input->joystick_count || !platform::joystick_can_rumble(i)) return;
    const double x = std::clamp(std::isnan(force_x) ? 0.0 : force_x, -1.0, 1.0);
    const double y = std::clamp(std::isnan(force_y) ? 0.0 : force_y, -1.0, 1.0);
    // The push's strength, (x² + y²) / 2, is shared by the two motors along its direction.
    const double magnitude = (x * x + y * y) * 0.5;
    const double length = std::sqrt(x * x + y * y);
    const double low = length > 0 ? magnitude * std::abs(x) / length : 0;
    const double high = length > 0 ? magnitude * std::abs(y) / length : 0;
    const double ms = std::clamp(std::isnan(duration_ms) ? 0.0 : duration_ms, 0.0, 4294967295.0);
    platform::rumble_joystick(i, low, high, static_cast<uint32_t>(ms));
}

}  // namespace tvk
