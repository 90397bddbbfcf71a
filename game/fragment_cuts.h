#pragma once
// The play screen's cut of an answer word into the fragments dealt onto its tiles,
// for the runtime's texts; the cut itself is game/content/word_cuts.h.
#include <cstdint>

#include "game/content/word_cuts.h"
#include "runtime/value/rt_string.h"

namespace tvk::game {

// Stores the fragments of word into out[0..] and returns how many (2 to 4 for
// words of 4 to 10 characters, 0 for any other length).
int32_t cut_word(const RtString& word, RtString out[kMaxFragments]);

}  // namespace tvk::game
