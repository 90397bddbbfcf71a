#pragma once
// The slot operations under the sound commands: loading a wave into a slot's
// buffers, choosing the buffer a play uses, stopping and polling.
#include <cstdint>

#include "runtime/audio/sound_device.h"

namespace tvk {

// The slot, or null when there is no table or the number lies outside it.
SoundSlot* sound_slot(int32_t slot);

void release_sound_slot(int32_t slot);
// 1 when the wave was loaded into buffer 0 and copied into count - 1 duplicates.
int32_t load_slot(int32_t slot, SoundDevice* device, const char* name, int32_t count);
// The buffer the next play of the slot uses, or null.
MixerBuffer* next_buffer(int32_t slot);
// The buffer index played, or -1.
int32_t play_slot(int32_t slot, int32_t pan, int32_t volume, uint32_t flags);
int32_t stop_slot(int32_t slot, int32_t buffer);
int32_t slot_buffer_playing(int32_t slot, int32_t buffer);

// The attenuation in hundredths of a decibel for a volume of 0..100.
int32_t attenuation_of_volume(int32_t volume);

}  // namespace tvk
