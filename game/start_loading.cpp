#include "game/start_loading.h"

#include <cstddef>
#include <cstdint>

#include "game/media_table.h"
#include "game/progress_file.h"
#include "game/puzzle_file.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/text_commands.h"

namespace tvk::game {

namespace {

// How far the loading has come: the next entry of the media table to look at; one
// past the table is the puzzle file, and one past that is the end.
size_t& next_piece() {
    static size_t next = 0;
    return next;
}

// A font load selects the font it loads. While the options screen runs, the font
// the screens selected stays selected (the options screen prints nothing; every
// screen that prints selects its fonts first).
void load_keeping_the_font(const MediaEntry& entry) {
    const OpenGLRainbows* device = graphics_device();
    const int32_t selected = device ? device->fonts.current : 0;
    load_media_entry(entry);
    if (entry.kind == MediaKind::font && device) set_font(selected);
}

bool all_loaded() { return next_piece() > media_table().size(); }

}  // namespace

void load_first_screen() {
    next_piece() = 0;
    for (const MediaEntry& entry : media_table()) {
        if (entry.options_screen) load_media_entry(entry);
    }
    // The options screen's reset area clears the progress markers, so they are in
    // before it can be clicked.
    load_progress();
}

void load_next_piece() {
    const std::span<const MediaEntry> table = media_table();
    size_t& next = next_piece();
    while (next < table.size() && table[next].options_screen) ++next;
    if (next < table.size()) {
        load_keeping_the_font(table[next++]);
    } else if (next == table.size()) {
        load_puzzles();
        ++next;
    }
}

void finish_loading() {
    while (!all_loaded()) load_next_piece();
}

}  // namespace tvk::game
