#pragma once
// A system word list (one word a line, UTF-8, as the Debian wbritish packages put
// in /usr/share/dict) read as the tiles could spell it: capitals A to Z only.
//
// How an entry is read:
//   - letters are taken in capitals, so "lemon" and "Lemon" both read as LEMON.
//     Proper nouns stay in: countries, cities and months are rounds of their own,
//     and a player may offer a name the tiles spell;
//   - accented letters lose their accents and ligatures are spelled out ("café"
//     reads as CAFE, "encyclopædia" as ENCYCLOPAEDIA): the tiles have no accents;
//   - an entry with an apostrophe is left out: almost all are possessives
//     ("lemon's"), whose letters are also the plural that the list holds on its
//     own, and the rest ("o'clock") are no answer to a category;
//   - an entry with any other character (a digit, a hyphen) is left out.
#include <string>
#include <vector>

namespace tvk::content {

inline constexpr const char* kDefaultWordList = "/usr/share/dict/british-english-large";

// The entry in capitals, or "" when it is left out.
std::string word_list_form(const std::string& entry);

// The sorted, distinct words of a list file; false with a reason when it cannot be read.
bool load_word_list(const std::string& path, std::vector<std::string>& words, std::string& error);

// True when some word of the sorted list starts with prefix.
bool has_prefix(const std::vector<std::string>& words, const std::string& prefix);

}  // namespace tvk::content
