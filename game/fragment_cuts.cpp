#include "game/fragment_cuts.h"

#include "runtime/value/string_library.h"

namespace tvk::game {

int32_t cut_word(const RtString& word, RtString out[kMaxFragments]) {
    const WordCut cut = word_cut(word.length);
    for (int32_t i = 0; i < cut.count; ++i) {
        out[i] = string_mid(word, cut.fragments[i].start, cut.fragments[i].length);
    }
    return cut.count;
}

}  // namespace tvk::game
