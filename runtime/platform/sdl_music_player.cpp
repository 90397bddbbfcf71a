// The music service over SDL2_mixer's music stream.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

#include "runtime/platform/audio_device.h"
#include "runtime/platform/music_player.h"

namespace tvk::platform {

struct Music {
    Mix_Music* piece = nullptr;
    bool started = false;  // handed to the stream, and not stopped since
};

namespace {
Music* g_playing = nullptr;  // the piece the stream holds, if any
}

Music* open_music(const char* path) {
    if (!audio_device_open() || !path) return nullptr;
    Mix_Music* piece = Mix_LoadMUS(path);
    if (!piece) return nullptr;
    return new Music{piece, false};
}

void close_music(Music* music) {
    if (!music) return;
    if (g_playing == music) {
        Mix_HaltMusic();
        g_playing = nullptr;
    }
    Mix_FreeMusic(music->piece);
    delete music;
}

double music_length_ms(Music* music) {
    if (!music) return -1;
    const double seconds = Mix_MusicDuration(music->piece);
    return seconds < 0 ? -1 : seconds * 1000.0;
}

double music_position_ms(Music* music) {
    if (!music) return -1;
    if (g_playing != music || !Mix_PlayingMusic()) {
        // Not in the stream: at its start before playing, at its end after it.
        return music->started ? music_length_ms(music) : 0;
    }
    const double seconds = Mix_GetMusicPosition(music->piece);
    return seconds < 0 ? -1 : seconds * 1000.0;
}

bool play_music_piece(Music* music) {
    if (!music) return false;
    if (g_playing == music && Mix_PlayingMusic()) {
        if (Mix_PausedMusic()) Mix_ResumeMusic();
        return true;
    }
    if (Mix_PlayMusic(music->piece, 0) != 0) return false;
    g_playing = music;
    music->started = true;
    return true;
}

void rewind_music_piece(Music* music) {
    if (!music) return;
    if (g_playing == music && Mix_PlayingMusic()) {
        Mix_RewindMusic();
    } else {
        music->started = false;
    }
}

void stop_music_piece(Music* music) {
    if (music && g_playing == music) {
        Mix_HaltMusic();
        g_playing = nullptr;
    }
}

void pause_music_piece(Music* music) {
    if (music && g_playing == music) Mix_PauseMusic();
}

void resume_music_piece(Music* music) {
    if (music && g_playing == music) Mix_ResumeMusic();
}

void set_music_piece_volume(int32_t volume) {
    const int32_t level = std::clamp(volume, 0, 1000);
    Mix_VolumeMusic(level * MIX_MAX_VOLUME / 1000);
}

int32_t music_piece_volume() { return Mix_VolumeMusic(-1) * 1000 / MIX_MAX_VOLUME; }

bool music_piece_playing(Music* music) {
    return music && g_playing == music && Mix_PlayingMusic() && !Mix_PausedMusic();
}

}  // namespace tvk::platform
