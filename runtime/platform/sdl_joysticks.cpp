// The game-controller service over SDL2's joystick layer.
#include <SDL.h>

#include <algorithm>
#include <vector>

#include "runtime/platform/joysticks.h"

namespace tvk::platform {

namespace {

std::vector<SDL_Joystick*>& opened() {
    static std::vector<SDL_Joystick*> joysticks;
    return joysticks;
}

SDL_Joystick* joystick_at(int32_t index) {
    auto& all = opened();
    if (index < 0 || static_cast<size_t>(index) >= all.size()) return nullptr;
    return all[static_cast<size_t>(index)];
}

uint32_t hat_angle(Uint8 hat) {
    switch (hat) {
        case SDL_HAT_UP: return 0;
        case SDL_HAT_RIGHTUP: return 4500;
        case SDL_HAT_RIGHT: return 9000;
        case SDL_HAT_RIGHTDOWN: return 13500;
        case SDL_HAT_DOWN: return 18000;
        case SDL_HAT_LEFTDOWN: return 22500;
        case SDL_HAT_LEFT: return 27000;
        case SDL_HAT_LEFTUP: return 31500;
        default: return 0xFFFFFFFF;
    }
}

}  // namespace

int32_t open_joysticks(int32_t limit) {
    close_joysticks();
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return 0;
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count && static_cast<int32_t>(opened().size()) < limit; ++i) {
        if (SDL_Joystick* j = SDL_JoystickOpen(i)) opened().push_back(j);
    }
    return static_cast<int32_t>(opened().size());
}

void close_joysticks() {
    if (opened().empty()) return;
    for (SDL_Joystick* j : opened()) SDL_JoystickClose(j);
    opened().clear();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

std::string joystick_device_name(int32_t index) {
    SDL_Joystick* j = joystick_at(index);
    const char* name = j ? SDL_JoystickName(j) : nullptr;
    return name ? name : "";
}

bool read_joystick_state(int32_t index, JoystickReading& reading) {
    reading = JoystickReading{};
    SDL_Joystick* j = joystick_at(index);
    if (!j || !SDL_JoystickGetAttached(j)) return false;
    SDL_JoystickUpdate();
    const int axes = std::min(SDL_JoystickNumAxes(j), 8);
    for (int a = 0; a < axes; ++a) {
        const int32_t v = SDL_JoystickGetAxis(j, a);
        if (a < 6) {
            reading.axes[a] = v;
        } else {
            reading.sliders[a - 6] = v;
        }
    }
    const int hats = std::min(SDL_JoystickNumHats(j), 4);
    for (int h = 0; h < hats; ++h) reading.hats[h] = hat_angle(SDL_JoystickGetHat(j, h));
    const int buttons = std::min(SDL_JoystickNumButtons(j), 32);
    for (int b = 0; b < buttons; ++b) reading.buttons[b] = SDL_JoystickGetButton(j, b) ? 0x80 : 0;
    return true;
}

bool joystick_can_rumble(int32_t index) {
    SDL_Joystick* j = joystick_at(index);
    return j && SDL_JoystickHasRumble(j) == SDL_TRUE;
}

bool rumble_joystick(int32_t index, double low, double high, uint32_t duration_ms) {
    SDL_Joystick* j = joystick_at(index);
    if (!j) return false;
    const auto strength = [](double v) { return static_cast<Uint16>(std::clamp(v, 0.0, 1.0) * 65535.0); };
    return SDL_JoystickRumble(j, strength(low), strength(high), duration_ms) == 0;
}

}  // namespace tvk::platform
