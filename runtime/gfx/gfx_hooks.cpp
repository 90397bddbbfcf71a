#include "runtime/gfx/gfx_hooks.h"

namespace tvk {

// The registration the layers above fill at start-up: process-wide, not device state.
GfxHooks& gfx_hooks() {
    static GfxHooks hooks;
    return hooks;
}

int32_t pump_window_messages(MessageCallback callback) {
    return gfx_hooks().pump_messages ? gfx_hooks().pump_messages(callback) : 1;
}

}  // namespace tvk
