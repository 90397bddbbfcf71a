#pragma once
// A hook for tests that play the shipped game through its real window: when the
// environment variable SPLITVERSE_DEAL_FILE names a file, each round that starts
// writes there where its fragments were dealt, so that a script can click the
// answers without reading the game's memory. Without the variable nothing is
// written.
//
// The file has one line per answer word, in the word list's order:
//     WORD X1 Y1 X2 Y2 ...
// the screen points (tile centres, in the game's screen coordinates) of the tiles
// to click in turn to assemble the word. A fragment that lies on two tiles is
// given once to each word that needs it. The file is written beside its name and
// renamed into place, so a reader never sees half of it.
namespace tvk::game {

inline constexpr const char* kDealFileVariable = "SPLITVERSE_DEAL_FILE";

// Writes the deal of the round being played, when the variable is set.
void write_deal_file();

}  // namespace tvk::game
