#pragma once
// The media the game loads from its "Media" folder, by slot number.
#include <cstdint>
#include <span>

namespace tvk::game {

enum class MediaKind { font, sprite, sound };

struct MediaEntry {
    MediaKind kind;
    int32_t slot;
    const char* file;
    // Shown on the options screen, the first screen: loaded before its first frame
    // (see start_loading.h); the rest follow while it runs.
    bool options_screen = false;
};

// In loading order: fonts 1 to 6, the sprites, sounds 1 to 6.
std::span<const MediaEntry> media_table();

// Loads one entry. A file that cannot be loaded leaves its sprite or sound slot
// empty, or the built-in font in its font slot; the game goes on without it.
void load_media_entry(const MediaEntry& entry);
// Loads every entry in table order.
void load_media();

}  // namespace tvk::game
