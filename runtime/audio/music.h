#pragma once
// Background music: one piece at a time, looped by the runtime's clock rather
// than by the end of the media, so a looped piece restarts only while the
// program flips frames or waits.
#include <cstdint>

#include "runtime/value/rt_string.h"

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

// Error 3 ("no such file") when the lookup fails; any earlier music stops first.
void play_music(const RtString& name, double loop);
int32_t stop_music();
int32_t music_playing();
void pause_music(double pause);
// 1 is the piece's normal level; the value is passed on unclamped.
void set_music_volume(double volume);
// Restarts looped music once its time has come; called by the frame flip and the waits.
void service_looped_music();
void restart_music();

}  // namespace tvk
