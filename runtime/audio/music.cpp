#include "runtime/audio/music.h"

#include <cmath>
#include <string>

#include "runtime/audio/audio_hooks.h"
#include "runtime/files/media_archive.h"
#include "runtime/platform/music_player.h"
#include "runtime/value/clock.h"
#include "runtime/value/error_state.h"

namespace tvk {

namespace {

// Pieces reporting less than half a second (or nothing) loop every half second.
double loop_length_ms(platform::Music* music) {
    const double length = music ? platform::music_length_ms(music) : 0;
    return length < 500 ? 500 : length;
}

void close_current(MusicState& s) {
    if (s.music) {
        platform::stop_music_piece(s.music);
        platform::close_music(s.music);
    }
    s.music = nullptr;
}

}  // namespace

MusicState& music_state() {
    static MusicState state;
    return state;
}

void play_music(const RtString& name, double loop) {
    set_error(kErrSuccess);
    MusicState& s = music_state();
    s.volume = -1;
    s.restart_time = 0;
    close_current(s);
    std::string path;
    if (!resolve_media_path(media_archives().temporary_files, name.c_str(), path, false)) {
        set_error(kErrNoSuchFile);
        return;
    }
    s.music = platform::open_music(path.c_str());
    const double length = loop_length_ms(s.music);
    s.restart_time = loop != 0 ? clock_ms() + length : 0;
    if (s.music) {
        platform::rewind_music_piece(s.music);
        platform::play_music_piece(s.music);
    }
    if (s.volume != 1) {
        s.volume = 1;
        if (s.music) platform::set_music_piece_volume(1000);
    }
    // Starting music counts as the program running again, as on the platforms
    // where opening the player takes the activation away.
    if (audio_hooks().set_pause_state) audio_hooks().set_pause_state(0);
}

int32_t stop_music() {
    MusicState& s = music_state();
    s.volume = -1;
    s.restart_time = 0;
    close_current(s);
    return 0;
}

int32_t music_playing() {
    MusicState& s = music_state();
    if (!s.music) return 0;
    if (s.restart_time > 0) return 1;
    return platform::music_position_ms(s.music) < platform::music_length_ms(s.music) ? 1 : 0;
}

void pause_music(double pause) {
    MusicState& s = music_state();
    if (!s.music) return;
    if (pause != 0) {
        if (s.restart_time > 0) {
            s.pause_time = clock_ms();
            s.restart_time = -s.restart_time;
        }
        platform::pause_music_piece(s.music);
    } else {
        if (s.restart_time < 0) {
            s.restart_time = -s.restart_time;
            s.restart_time = clock_ms() - s.pause_time + s.restart_time;
        }
        platform::resume_music_piece(s.music);
    }
}

void set_music_volume(double volume) {
    MusicState& s = music_state();
    if (volume == s.volume) return;
    s.volume = volume;
    if (!s.music) return;
    const double level = std::trunc(volume * 1000.0);
    platform::set_music_piece_volume(
        std::isnan(level) ? 0 : static_cast<int32_t>(std::fmax(-2147483648.0, std::fmin(level, 2147483647.0))));
}

void service_looped_music() {
    MusicState& s = music_state();
    if (s.restart_time <= 0 || clock_ms() < s.restart_time) return;
    s.restart_time = clock_ms() + loop_length_ms(s.music);
    if (!s.music) return;
    platform::play_music_piece(s.music);
    platform::rewind_music_piece(s.music);
    platform::play_music_piece(s.music);
}

void restart_music() {
    MusicState& s = music_state();
    if (!s.music) return;
    platform::rewind_music_piece(s.music);
    platform::play_music_piece(s.music);
}

}  // namespace tvk
