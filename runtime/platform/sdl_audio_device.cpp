// The audio service over SDL2's audio device, opened through SDL2_mixer so that
// its music and the effect mixer share one output stream.
#include <SDL.h>
#include <SDL_mixer.h>

#include "runtime/platform/audio_device.h"

namespace tvk::platform {

namespace {

struct AudioDeviceState {
    bool open = false;
    int32_t rate = 0;
    int32_t channels = 0;
    MixCallback callback = nullptr;
    void* user = nullptr;
};

AudioDeviceState& state() {
    static AudioDeviceState s;
    return s;
}

// SDL2_mixer's post-mix hook: the block holds the music already.
void post_mix(void* udata, Uint8* stream, int len) {
    auto* s = static_cast<AudioDeviceState*>(udata);
    if (!s->callback || s->channels <= 0) return;
    const int32_t frames = len / static_cast<int>(sizeof(int16_t)) / s->channels;
    s->callback(reinterpret_cast<int16_t*>(stream), frames, s->user);
}

}  // namespace

bool open_audio_device(int32_t rate, int32_t channels, std::string& why) {
    AudioDeviceState& s = state();
    if (s.open) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = SDL_GetError();
        return false;
    }
    // 512 frames keep the latency of an effect near 23 ms at 22050 Hz.
    if (Mix_OpenAudioDevice(rate, AUDIO_S16SYS, channels, 512, nullptr, 0) != 0) {
        why = Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int frequency = 0;
    Uint16 format = 0;
    int device_channels = 0;
    Mix_QuerySpec(&frequency, &format, &device_channels);
    s.open = true;
    s.rate = frequency;
    s.channels = device_channels;
    Mix_SetPostMix(post_mix, &s);
    return true;
}

bool audio_device_open() { return state().open; }
int32_t audio_device_rate() { return state().rate; }
int32_t audio_device_channels() { return state().channels; }

void set_mix_callback(MixCallback callback, void* user) {
    AudioDeviceState& s = state();
    // Setting the hook takes the device's lock, so once the hook is off no block
    // is being mixed and the pair can change safely.
    if (s.open) Mix_SetPostMix(nullptr, nullptr);
    s.callback = callback;
    s.user = user;
    if (s.open) Mix_SetPostMix(post_mix, &s);
}

void close_audio_device() {
    AudioDeviceState& s = state();
    if (!s.open) return;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    s = AudioDeviceState{};
}

}  // namespace tvk::platform
