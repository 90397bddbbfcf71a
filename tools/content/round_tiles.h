#pragma once
// A round's 20 tiles and what a player can spell with them: any 1 to 4 tiles
// picked one after another, each tile at most once, their texts joined in the
// order picked.
#include <string>
#include <vector>

#include "tools/content/puzzle_source.h"

namespace tvk::content {

inline constexpr int kMaxPicks = 4;  // fragments the player can pick before checking

struct Tile {
    std::string text;
    size_t owner;  // index of the answer the fragment was cut from
};

// The fragments of every answer, as the play screen deals them.
std::vector<Tile> round_tiles(const PuzzleRound& round);

// Every set of up to four tiles that, picked in that order, spells target exactly.
std::vector<std::vector<size_t>> builds_of(const std::vector<Tile>& tiles,
                                           const std::string& target);

// The tile texts of a build joined with " + ", e.g. "BE + RRY".
std::string spelled(const std::vector<Tile>& tiles, const std::vector<size_t>& build);

}  // namespace tvk::content
