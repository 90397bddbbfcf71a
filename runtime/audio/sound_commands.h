#pragma once
// The program's sound-effect commands. A channel number is slot × 256 + buffer.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Loads a wave file into a slot with 1..4 buffers; error 3 ("no such file") when it
// cannot, error 7 for a slot outside 0..4095.
void load_sound(const RtString& name, double slot, double buffer_count);
// The channel number played, -1 when no buffer could play, 0 (error 7) for a slot above 4095.
int32_t play_sound(double slot, double pan, double volume);
// 1 while the channel's buffer plays.
int32_t sound_playing(double channel);
// A buffer index of 255 (or any other outside the slot) stops every buffer of the slot.
void stop_sound(double channel);
void stop_all_sounds();
// The highest empty slot number, or -1 (error 7) when every slot is loaded.
int32_t free_sound_slot();

}  // namespace tvk
