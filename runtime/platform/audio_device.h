#pragma once
// The audio service: one output device shared by the music player and the
// runtime's own effect mixer.
//
// Contract: open_audio_device() opens the device in signed 16-bit interleaved
// samples at the rate and channel count asked for (the device converts if the
// hardware differs). The music player renders into each block of the device
// first; then the mix callback, if one is set, is called on the device's own
// thread to add the effects into the same block. Calls here come from the
// program's thread only.
#include <cstdint>
#include <string>

namespace tvk::platform {

// Adds the effects into a block of frames × channels samples that already holds the music.
using MixCallback = void (*)(int16_t* samples, int32_t frames, void* user);

// False with why filled when no device can be opened (no driver, no hardware).
bool open_audio_device(int32_t rate, int32_t channels, std::string& why);
bool audio_device_open();
int32_t audio_device_rate();
int32_t audio_device_channels();
// Installs (or with null removes) the effect mixer; it is never called after this returns.
void set_mix_callback(MixCallback callback, void* user);
// Stops the device; the music player's music must be closed first.
void close_audio_device();

}  // namespace tvk::platform
