#pragma once
// The sound device and its table of 4096 sound slots.
//
// A played sound is named by its channel number, slot × 256 + buffer index.
// Without an audio device the object still exists with no mixer: every load then
// fails and every play answers -1.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "runtime/audio/sound_mixer.h"

namespace tvk::platform {
struct Window;
}

namespace tvk {

constexpr int32_t kSoundSlotCount = 4096;
constexpr int32_t kSoundBuffersPerSlot = 4;
constexpr int32_t kSoundMixRate = 22050;
constexpr int32_t kSoundMixChannels = 2;

struct SoundDevice;

struct SoundSlot {
    int32_t buffer_count = 0;   // 0 = empty, otherwise 1..4
    int32_t play_cursor = 0;    // the buffer the next play tries first
    std::string file_name;      // the name being loaded; empty outside loading
    SoundDevice* device = nullptr;  // null when the slot cannot play
    std::array<MixerBuffer*, kSoundBuffersPerSlot> buffers{};  // 0 holds the samples
};

struct SoundDevice {
    std::unique_ptr<Mixer> mixer;  // null when sound is unavailable
    std::unique_ptr<std::array<SoundSlot, kSoundSlotCount>> slots;
};

// The process's sound device; null before start_sound and after shutdown_sound.
SoundDevice* sound_device();

// Start-up: the device object, its zeroed slot table, then the mixer over the
// audio device and the window binding. Sound being unavailable is not an error.
void start_sound(platform::Window* window);
// Shutdown: releases every slot, the table and the device.
void shutdown_sound();

// Opens the audio device and puts the mixer on it: 1 on success, 0 when no device
// could be opened (the reason is written to the trace file).
int32_t create_sound_device(platform::Window* window);
// The audio device is not tied to a window here; kept for the window changes that call it.
void set_sound_window(platform::Window* window);
void release_sound_device();

}  // namespace tvk
