#pragma once
// Calls the audio layer makes into the layers above it. Start-up fills them in
// core/hook_wiring.cpp; an unset hook means there is no frame loop to resume.
#include <cstdint>

namespace tvk {

struct AudioHooks {
    // The frame loop's pause state (1 = focus lost): starting music counts as the
    // program having the focus again.
    void (*set_pause_state)(int32_t lost_focus) = nullptr;
};

AudioHooks& audio_hooks();

}  // namespace tvk
