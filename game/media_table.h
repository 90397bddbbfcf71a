#pragma once
// The media the game loads once at start from its "Media" folder, by slot number.
#include <cstdint>
#include <span>

namespace tvk::game {

enum class MediaKind { font, sprite, sound };

struct MediaEntry {
    MediaKind kind;
    int32_t slot;
    const char* file;
};

// In loading order: fonts 1 to 6, the sprites, sounds 1 to 6.
std::span<const MediaEntry> media_table();

// Loads every entry. A file that cannot be loaded leaves its sprite or sound slot
// empty, or the built-in font in its font slot; the game goes on without it.
void load_media();

}  // namespace tvk::game
