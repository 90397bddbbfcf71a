#pragma once
// The movie service: a video file decoded by the player and drawn with OpenGL
// into the window whose context is current, fitted to it and centred.
//
// Contract: open_movie() needs the window's GL context current and returns once
// the file is loaded (null when it cannot be played); render_movie_frame() draws
// the current frame over the whole client area and presents it. Lengths and
// positions are milliseconds; the position equals the length once the end is reached.
#include <cstdint>

namespace tvk::platform {

struct Window;
struct Movie;  // opaque: one opened movie

Movie* open_movie(const char* path, Window* window);
void close_movie(Movie* movie);
void movie_size(Movie* movie, int32_t& width, int32_t& height);
double movie_length_ms(Movie* movie);
double movie_position_ms(Movie* movie);
bool play_movie_from(Movie* movie, double position_ms);
void stop_movie(Movie* movie);
void render_movie_frame(Movie* movie);

}  // namespace tvk::platform
