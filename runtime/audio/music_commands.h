#pragma once
// The program's music commands: one piece at a time, looped by the runtime's
// clock rather than by the end of the media, so a looped piece restarts only
// while the program flips frames or waits.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Error 3 ("no such file") when the lookup fails; any earlier music stops first.
void play_music(const RtString& name, double loop);
int32_t stop_music();
int32_t music_playing();
void pause_music(double pause);
// 1 is the piece's normal level; the value is passed on unclamped.
void set_music_volume(double volume);

}  // namespace tvk
