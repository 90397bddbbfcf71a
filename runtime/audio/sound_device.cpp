#include "runtime/audio/sound_device.h"

#include <string>

#include "runtime/audio/sound_slots.h"
#include "runtime/platform/audio_device.h"
#include "runtime/value/trace_log.h"

namespace tvk {

namespace {

// A program that ends without the runtime's shutdown (one that brought the runtime
// up itself) reaches the static destructors with the audio thread still mixing:
// the device is closed first so the thread stops before the buffers are freed.
struct DeviceHolder {
    std::unique_ptr<SoundDevice> device;
    ~DeviceHolder() {
        if (device && device->mixer) {
            platform::set_mix_callback(nullptr, nullptr);
            platform::close_audio_device();
        }
    }
};

std::unique_ptr<SoundDevice>& device_holder() {
    static DeviceHolder holder;
    return holder.device;
}

void mix_effects(int16_t* samples, int32_t frames, void* user) {
    static_cast<Mixer*>(user)->mix(samples, frames);
}

}  // namespace

SoundDevice* sound_device() { return device_holder().get(); }

void start_sound(platform::Window* window) {
    auto& holder = device_holder();
    if (!holder) {
        holder = std::make_unique<SoundDevice>();
        holder->slots = std::make_unique<std::array<SoundSlot, kSoundSlotCount>>();
    }
    create_sound_device(window);
    set_sound_window(window);
}

void shutdown_sound() {
    auto& holder = device_holder();
    if (!holder) return;
    for (int32_t slot = 0; slot < kSoundSlotCount; ++slot) release_sound_slot(slot);
    holder->slots.reset();
    release_sound_device();
    holder.reset();
}

int32_t create_sound_device(platform::Window*) {
    SoundDevice* device = sound_device();
    if (!device) return 0;
    if (device->mixer) return 1;
    std::string why;
    if (!platform::open_audio_device(kSoundMixRate, kSoundMixChannels, why)) {
        log_line(("No sound device: " + why + "\n").c_str());
        return 0;
    }
    device->mixer = std::make_unique<Mixer>(platform::audio_device_rate(),
                                            platform::audio_device_channels());
    platform::set_mix_callback(mix_effects, device->mixer.get());
    return 1;
}

void set_sound_window(platform::Window*) {}

void release_sound_device() {
    SoundDevice* device = sound_device();
    if (!device || !device->mixer) return;
    // Slots hold buffers of the mixer: they go first.
    if (device->slots) {
        for (int32_t slot = 0; slot < kSoundSlotCount; ++slot) release_sound_slot(slot);
    }
    platform::set_mix_callback(nullptr, nullptr);
    platform::close_audio_device();
    device->mixer.reset();
}

}  // namespace tvk
