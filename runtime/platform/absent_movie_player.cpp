// The movie service where the build has no movie player (no libmpv, as on Windows):
// every file is one that cannot be played, so play_movie reports "cannot play" (3)
// exactly as it does for a missing file, and the program carries on.
#include "runtime/platform/movie_player.h"

namespace tvk::platform {

Movie* open_movie(const char*, Window*) { return nullptr; }
void close_movie(Movie*) {}
void movie_size(Movie*, int32_t& width, int32_t& height) { width = height = 0; }
double movie_length_ms(Movie*) { return 0; }
double movie_position_ms(Movie*) { return 0; }
bool play_movie_from(Movie*, double) { return false; }
void stop_movie(Movie*) {}
void render_movie_frame(Movie*) {}

}  // namespace tvk::platform
