#include "runtime/audio/sound_commands.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "runtime/audio/sound_slots.h"
#include "runtime/files/media_archive.h"
#include "runtime/value/error_state.h"
#include "runtime/value/numeric_helpers.h"

namespace tvk {

void load_sound(const RtString& name, double slot_number, double buffer_count) {
    set_error(kErrSuccess);
    const int32_t slot = to_int(slot_number);
    if (static_cast<uint32_t>(slot) >= static_cast<uint32_t>(kSoundSlotCount)) {
        set_error(kErrOutOfMemory);
        return;
    }
    // A name the lookup does not find is loaded as it is, and fails there.
    std::string path;
    if (!resolve_media_path(media_archives().memory_files, name.c_str(), path, true)) {
        path = name.c_str();
    }
    if (load_slot(slot, sound_device(), path.c_str(), to_int(buffer_count)) == 0) {
        set_error(kErrNoSuchFile);
    }
}

int32_t play_sound(double slot_number, double pan, double volume) {
    const int32_t slot = to_int(slot_number);
    if (static_cast<uint32_t>(slot) >= static_cast<uint32_t>(kSoundSlotCount)) {
        set_error(kErrOutOfMemory);
        return 0;
    }
    const double clamped_pan = std::clamp(std::isnan(pan) ? 0.0 : pan, -1.0, 1.0) * 10000.0;
    const double scaled = std::clamp(std::isnan(volume) ? 0.0 : volume * 100.0, 0.0, 100.0);
    const int32_t played = play_slot(slot, static_cast<int32_t>(clamped_pan),
                                     static_cast<int32_t>(scaled), 0);
    if (played < 0) return played;
    return slot * 256 + played;
}

int32_t sound_playing(double channel_number) {
    const int32_t channel = to_int(channel_number);
    if (static_cast<uint32_t>(channel) >= 0x100000u) {
        set_error(kErrOutOfMemory);
        return 0;
    }
    return slot_buffer_playing(channel >> 8, channel & 255);
}

void stop_sound(double channel_number) {
    const int32_t channel = to_int(channel_number);
    if (channel < 0) return;
    stop_slot(channel >> 8, channel & 255);
}

void stop_all_sounds() {
    for (int32_t slot = 0; slot < kSoundSlotCount; ++slot) stop_slot(slot, -1);
}

int32_t free_sound_slot() {
    set_error(kErrSuccess);
    for (int32_t slot = kSoundSlotCount - 1; slot >= 0; --slot) {
        const SoundSlot* s = sound_slot(slot);
        if (!s || s->buffer_count <= 0) return slot;
    }
    set_error(kErrOutOfMemory);
    return -1;
}

}  // namespace tvk
