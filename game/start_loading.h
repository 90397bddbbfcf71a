#pragma once
// The game's files are loaded in stages so that the first screen comes up before
// the rest are in: what the options screen shows (its pictures) and the progress
// file before its first frame; the other media, in table order, and then the
// puzzle file one piece a frame while the options screen runs; and whatever is
// still missing at once before any other screen draws its first frame. Every
// screen therefore finds its media loaded, as it did when all were loaded first.
namespace tvk::game {

// Starts anew: the options screen's media and the progress file.
void load_first_screen();
// One more piece (a media entry, or the puzzle file); nothing once all are in.
void load_next_piece();
// Every piece still missing.
void finish_loading();

}  // namespace tvk::game
