#pragma once
// The music service: one piece of music at a time, decoded and played on the
// audio device of audio_device.h (which must be open for anything to sound).
//
// Contract: open_music() loads a file of any type the player decodes (WAV, OGG,
// ...) without playing it; lengths and positions are in milliseconds; volume
// 1000 is the file's own level, 0 silence (the player's scale is capped there).
#include <cstdint>

namespace tvk::platform {

struct Music;  // opaque: one opened piece

Music* open_music(const char* path);
void close_music(Music* music);
// -1 when the length is unknown.
double music_length_ms(Music* music);
// -1 when the position is unknown.
double music_position_ms(Music* music);
// Plays from where the piece stands: from its start after opening or after
// it ended, otherwise it goes on (a paused piece resumes).
bool play_music_piece(Music* music);
void rewind_music_piece(Music* music);
void stop_music_piece(Music* music);
void pause_music_piece(Music* music);
void resume_music_piece(Music* music);
void set_music_piece_volume(int32_t volume);
// The volume last set, on the 0..1000 scale.
int32_t music_piece_volume();
bool music_piece_playing(Music* music);

}  // namespace tvk::platform
