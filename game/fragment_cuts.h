#pragma once
// How an answer word is cut into the fragments dealt onto the tiles: its opening,
// its ending and its middle pieces, in that order, by the word's length.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk::game {

// Stores the fragments of word into out[0..] and returns how many (2 to 4 for
// words of 4 to 10 characters, 0 for any other length).
int32_t cut_word(const RtString& word, RtString out[4]);

}  // namespace tvk::game
