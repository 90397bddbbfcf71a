#pragma once
// Background music inside the runtime: the music state and the looping that the
// frame flip and the waits drive. The program's commands are in music_commands.h.
#include <cstdint>

#include "runtime/audio/music_commands.h"

namespace tvk::platform {
struct Music;
}

namespace tvk {

struct MusicState {
    platform::Music* music = nullptr;  // null = no music
    double volume = -1;                // last volume sent; -1 = unknown
    // 0 = no looping; > 0 = clock time of the next restart; < 0 = looping music
    // paused (the negated restart time).
    double restart_time = 0;
    double pause_time = 0;             // clock time of the pause
};

// The process's music state.
MusicState& music_state();

// Restarts looped music once its time has come; called by the frame flip and the waits.
void service_looped_music();
void restart_music();

}  // namespace tvk
