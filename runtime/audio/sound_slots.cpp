#include "runtime/audio/sound_slots.h"

#include <algorithm>
#include <cmath>

#include "runtime/audio/wave_loader.h"

namespace tvk {

namespace {

// The mixer a slot plays through, or null when it cannot play.
Mixer* slot_mixer(const SoundSlot& s) {
    if (!s.device || s.buffer_count <= 0) return nullptr;
    return s.device->mixer.get();
}

bool stop_and_rewind(Mixer& mixer, MixerBuffer* buffer) {
    return mixer.stop(buffer) && mixer.set_position(buffer, 0);
}

}  // namespace

SoundSlot* sound_slot(int32_t slot) {
    SoundDevice* device = sound_device();
    if (!device || !device->slots || slot < 0 || slot >= kSoundSlotCount) return nullptr;
    return &(*device->slots)[static_cast<size_t>(slot)];
}

void release_sound_slot(int32_t slot) {
    SoundSlot* s = sound_slot(slot);
    if (!s) return;
    if (Mixer* mixer = slot_mixer(*s)) {
        for (int32_t i = 0; i < s->buffer_count; ++i) {
            if (!s->buffers[static_cast<size_t>(i)] ||
                !stop_and_rewind(*mixer, s->buffers[static_cast<size_t>(i)])) {
                break;
            }
        }
    }
    // Buffers belong to whichever mixer made them; with no mixer left there is none.
    Mixer* owner = s->device ? s->device->mixer.get() : nullptr;
    for (MixerBuffer*& buffer : s->buffers) {
        if (buffer && owner) owner->release(buffer);
        buffer = nullptr;
    }
    s->play_cursor = 0;
    s->buffer_count = 0;
}

int32_t load_slot(int32_t slot, SoundDevice* device, const char* name, int32_t count) {
    SoundSlot* s = sound_slot(slot);
    if (!s) return 0;
    release_sound_slot(slot);
    s->play_cursor = 0;
    s->device = device;
    count = std::clamp(count, 1, kSoundBuffersPerSlot);
    if (!device || !device->mixer) {
        s->buffer_count = 0;
        s->file_name.clear();
        return 0;
    }
    Mixer& mixer = *device->mixer;
    s->buffer_count = count;
    s->file_name = name;
    WaveFile wave;
    bool loaded = load_wave_file(name, wave);
    MixerBuffer* first = nullptr;
    if (loaded) {
        const auto bytes = static_cast<uint32_t>(wave.data.size());
        first = mixer.create_buffer(wave.format, bytes, true);
        // Without volume and pan control the sound still plays, at full volume and centred.
        if (!first) first = mixer.create_buffer(wave.format, bytes, false);
        if (!first) s->device = nullptr;
        loaded = first && mixer.fill_buffer(first, 0, wave.data.data(), bytes);
    }
    if (!loaded) {
        if (first) mixer.release(first);
        s->buffer_count = 0;
        s->file_name.clear();
        return 0;
    }
    s->buffers[0] = first;
    for (int32_t i = 1; i < count; ++i) s->buffers[static_cast<size_t>(i)] = mixer.duplicate_buffer(first);
    s->file_name.clear();
    return 1;
}

MixerBuffer* next_buffer(int32_t slot) {
    SoundSlot* s = sound_slot(slot);
    Mixer* mixer = s ? slot_mixer(*s) : nullptr;
    if (!mixer) return nullptr;
    MixerBuffer* b = s->buffers[static_cast<size_t>(s->play_cursor)];
    if (!b) return nullptr;
    uint32_t status = 0;
    if (!mixer->status(b, status)) status = 0;
    if (status & kMixerStatusPlaying) {
        if (s->buffer_count == 1) return nullptr;
        s->play_cursor = (s->play_cursor + 1) % s->buffer_count;
        b = s->buffers[static_cast<size_t>(s->play_cursor)];
        if (!b) return nullptr;
        uint32_t next_status = 0;
        if (mixer->status(b, next_status)) {
            status = next_status;
            if (status & kMixerStatusPlaying) {
                mixer->stop(b);
                mixer->set_position(b, 0);
            }
        }
    }
    if ((status & kMixerStatusLost) && !mixer->restore(b)) return nullptr;
    return b;
}

int32_t attenuation_of_volume(int32_t volume) {
    if (volume < 1) return kMixerVolumeSilent;
    return static_cast<int32_t>(std::log10(volume / 100.0) * 2000.0);
}

int32_t play_slot(int32_t slot, int32_t pan, int32_t volume, uint32_t) {
    SoundSlot* s = sound_slot(slot);
    Mixer* mixer = s ? slot_mixer(*s) : nullptr;
    if (!mixer) return -1;
    MixerBuffer* b = next_buffer(slot);
    if (!b) return -1;
    mixer->set_volume(b, attenuation_of_volume(volume));
    mixer->set_pan(b, pan);
    return mixer->play(b) ? s->play_cursor : -1;
}

int32_t stop_slot(int32_t slot, int32_t buffer) {
    SoundSlot* s = sound_slot(slot);
    Mixer* mixer = s ? slot_mixer(*s) : nullptr;
    if (!mixer) return 0;
    if (buffer >= 0 && buffer < s->buffer_count) {
        MixerBuffer* b = s->buffers[static_cast<size_t>(buffer)];
        return b && stop_and_rewind(*mixer, b) ? 1 : 0;
    }
    for (int32_t i = 0; i < s->buffer_count; ++i) {
        MixerBuffer* b = s->buffers[static_cast<size_t>(i)];
        if (!b || !stop_and_rewind(*mixer, b)) return 0;
    }
    return 1;
}

int32_t slot_buffer_playing(int32_t slot, int32_t buffer) {
    SoundSlot* s = sound_slot(slot);
    Mixer* mixer = s ? slot_mixer(*s) : nullptr;
    if (!mixer || buffer < 0 || buffer >= s->buffer_count) return 0;
    uint32_t status = 0;
    if (!mixer->status(s->buffers[static_cast<size_t>(buffer)], status)) return 0;
    return (status & kMixerStatusPlaying) ? 1 : 0;
}

}  // namespace tvk
