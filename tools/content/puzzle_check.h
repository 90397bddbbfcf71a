#pragma once
// The checks every round must pass before it ships in the puzzle file. Each
// problem is one line of text that names the round and what is wrong.
#include <string>
#include <vector>

#include "tools/content/font_widths.h"
#include "tools/content/puzzle_source.h"

namespace tvk::content {

inline constexpr int kRoundCount = 50;
inline constexpr int kWordsPerRound = 7;
inline constexpr int kTilesPerRound = 20;

// Where the play screen draws the puzzle texts (play-area pixels). The tile frames
// and buttons are part of the background pictures, so a text must stay inside them.
struct PlayLayout {
    static constexpr int kScreenWidth = 480;
    static constexpr int kScreenMargin = 10;  // texts keep this far from the edges
    static constexpr int kTileWidth = 84;
    static constexpr int kTilePadding = 4;  // fragment ink keeps clear of the frame
    static constexpr int kWordLineX = 160;  // word lines start here
    static constexpr int kUndoButtonRight = 16 + 98;
    static constexpr int kCheckButtonLeft = 365;
    static constexpr int kButtonGap = 4;  // assembled text keeps clear of buttons
};

// The fonts the checks measure with.
struct PlayFonts {
    FontMetrics heading = placeholder_font(kHeadingFont);
    FontMetrics find = placeholder_font(kFindFont);
    FontMetrics fragment = placeholder_font(kFragmentFont);
    FontMetrics unsolved = placeholder_font(kUnsolvedFont);
};

// The fonts from a media folder, each falling back to its placeholder table when
// its image is not there yet; false with a reason when an image cannot be measured.
bool load_play_fonts(const std::string& media_folder, PlayFonts& fonts, std::string& error);

// Problems of one round on its own: word count, word form, clue, the others: list
// (no word of it, nor the plural of it or of an answer, spelled by the tiles),
// fragments, the room each text has on screen, and solvability.
std::vector<std::string> check_round(const PuzzleRound& round, const PlayFonts& fonts);

// Ways to assemble an answer that would spoil the round: from fragments another
// answer needs, or a second time after it was found.
std::vector<std::string> check_solvable(const PuzzleRound& round);

// Every round, plus what spans the game: the number of rounds and words that are
// answers of more than one round.
std::vector<std::string> check_rounds(const std::vector<PuzzleRound>& rounds,
                                      const PlayFonts& fonts);

// The widest text of each place over all rounds, so that a font change can be
// judged by how much room is left.
struct WidestText {
    std::string place;
    std::string text;
    int width = 0;
    int room = 0;
};
std::vector<WidestText> widest_texts(const std::vector<PuzzleRound>& rounds,
                                     const PlayFonts& fonts);

}  // namespace tvk::content
