#include "game/media_table.h"

#include "runtime/audio/sound_commands.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/gfx/text_commands.h"

namespace tvk::game {

namespace {

constexpr MediaEntry kMedia[] = {
    {MediaKind::font, 1, "small.png"},              // round numbers, information page
    {MediaKind::font, 2, "gold.png"},               // headings, solved words, assembled text
    {MediaKind::font, 3, "cyan.png"},               // the FIND line
    {MediaKind::font, 4, "silver.png"},             // loaded, not used
    {MediaKind::font, 5, "mint.png"},               // tile fragments
    {MediaKind::font, 6, "mauve.png"},              // unsolved word lines
    {MediaKind::sprite, 1, "back1.jpg"},            // play-screen backgrounds 1..6
    {MediaKind::sprite, 2, "back2.jpg"},
    {MediaKind::sprite, 3, "back3.jpg"},
    {MediaKind::sprite, 4, "back4.jpg"},
    {MediaKind::sprite, 5, "back5.jpg"},
    {MediaKind::sprite, 6, "back6.jpg"},
    {MediaKind::sprite, 9, "back9.jpg"},            // round-selection background
    {MediaKind::sprite, 10, "options.jpg", true},   // options-screen background
    {MediaKind::sprite, 89, "good.png"},            // round-won banner
    {MediaKind::sprite, 90, "wa.png"},              // picture on the information page
    {MediaKind::sprite, 92, "info2.png", true},     // information button
    {MediaKind::sprite, 93, "mute2.png", true},     // sound button while sound is off
    {MediaKind::sprite, 94, "sound2.png", true},    // sound button while sound is on
    {MediaKind::sprite, 95, "previous2.png"},       // back button
    {MediaKind::sprite, 96, "close2.png", true},    // close button
    {MediaKind::sprite, 97, "won.png"},             // completed-round marker
    {MediaKind::sprite, 98, "test.jpg"},            // check button
    {MediaKind::sprite, 99, "oops.jpg"},            // undo button
    {MediaKind::sound, 1, "1.wav"},                 // a fragment was picked
    {MediaKind::sound, 2, "2.wav"},                 // undo or check with nothing to do
    {MediaKind::sound, 3, "3.wav"},                 // wrong word: the fragments go back
    {MediaKind::sound, 4, "4.wav"},                 // a word was solved
    {MediaKind::sound, 5, "5.wav"},                 // the round was completed
    {MediaKind::sound, 6, "6.wav"},                 // a round was chosen
};

}  // namespace

std::span<const MediaEntry> media_table() { return kMedia; }

void load_media_entry(const MediaEntry& entry) {
    switch (entry.kind) {
        case MediaKind::font: load_font(entry.file, entry.slot); break;
        case MediaKind::sprite: load_sprite(entry.file, entry.slot); break;
        case MediaKind::sound: load_sound(entry.file, entry.slot, 1); break;
    }
}

void load_media() {
    for (const MediaEntry& entry : kMedia) load_media_entry(entry);
}

}  // namespace tvk::game
