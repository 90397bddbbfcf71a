#pragma once
// The game's variables, shared by every screen. Numbers are 64-bit floating values
// as the program's numeric variables are; array indices are such numbers truncated.
#include "runtime/value/rt_array.h"
#include "runtime/value/rt_string.h"

namespace tvk::game {

// Screen states of the main loop.
constexpr double kStateOptions = 1;
constexpr double kStateRoundSelect = 2;
constexpr double kStatePlaying = 3;
constexpr double kStateLeave = 4;  // tested by the main loop, never set
constexpr double kStateRoundWon = 5;

constexpr int32_t kRoundRows = 51;  // rounds 1..50; row 0 is not used
constexpr int32_t kWordsPerRound = 7;
constexpr int32_t kTileCount = 20;
constexpr int32_t kMaxPicks = 4;

struct GameState {
    double screen_state = kStateOptions;
    double round_count = 50;
    double chosen_round = 0;
    double sound_volume = 1;  // 1 sound on, 0 off; the volume of every sound effect
    double origin_x = 0, origin_y = 0;
    double background = 1;
    double picked_count = 0;
    double found_count = 0;
    double mouse_x = 0, mouse_y = 0, mouse_left = 0, mouse_right = 0;
    RtString music_file = "music.wav";
    // The assembly strip's shake after a wrong word or a refused fifth pick: the
    // frames still to draw, and the refused word shown in the strip meanwhile (its
    // fragments are already back on their tiles).
    double strip_shake = 0;
    RtString strip_refused;

    StringArray puzzle_table;    // [51][8]: [r][0] clue, [r][1..7] answer words
    NumberArray progress;        // [51]: 1 once round r was completed
    StringArray answer_words;    // [8]: [1..7] of the chosen round
    StringArray word_display;    // [8]: "?" per letter, or the solved word
    NumberArray word_font;       // [8]: 6 unsolved, 2 solved
    StringArray tiles;           // [21]: [1..20] fragment on each tile; "" = used
    NumberArray tile_positions;  // [21][3]: [i][1] x, [i][2] y of tile i's corner
    StringArray picked_texts;    // [5]: [0] assembled text, [1..4] picked fragments
    NumberArray picked_tiles;    // [5]: [1..4] the tile of each picked fragment
};

// The one game state of the process.
GameState& game_state();

// Back to the values the program starts with, arrays declared with their sizes.
void reset_game_state(GameState& g);

}  // namespace tvk::game
