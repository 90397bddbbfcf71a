#pragma once
// Movies played modally in the main window, fitted to it and centred.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// 0 after playing (or being interrupted), 3 when the file is not found or cannot be shown.
int32_t play_movie(const RtString& name);
// As play_movie, starting over at the end until a key or click ends it.
int32_t play_movie_looped(const RtString& name);
int32_t play_movie(const RtString& name, bool loop);

}  // namespace tvk
