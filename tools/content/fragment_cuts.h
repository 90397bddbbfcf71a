#pragma once
// How the play screen cuts an answer word into the fragments dealt onto its tiles:
// the opening, the ending, then the middle pieces left to right.
#include <string>
#include <vector>

namespace tvk::content {

// Fragments of a word of 4 to 10 characters; any other length gives none (such a
// word can never be assembled in the game).
std::vector<std::string> cut_word(const std::string& word);

// Number of fragments cut_word gives for a word of this length.
int fragment_count(size_t length);

}  // namespace tvk::content
