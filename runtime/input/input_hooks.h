#pragma once
// Calls the input layer makes into the layers above it. Start-up fills them in
// core/hook_wiring.cpp; an unset hook means there is no graphics device, so the
// mouse maps onto the window unturned (orientation 0) at the window's own size.
#include "runtime/input/orientation.h"

namespace tvk {

struct InputHooks {
    // The display's orientation and window size; false when there is no display.
    bool (*screen_frame)(ScreenFrame& frame) = nullptr;
};

InputHooks& input_hooks();

}  // namespace tvk
