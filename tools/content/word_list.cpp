#include "tools/content/word_list.h"

#include <algorithm>
#include <fstream>

namespace tvk::content {

namespace {

// The capitals of the Latin-1 letters U+00C0 to U+00FF without their accents;
// nullptr for the two signs among them (multiplication and division).
constexpr const char* kLatin1Letters[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", nullptr, "O", "U", "U", "U", "U", "Y", "TH", "SS",
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", nullptr, "O", "U", "U", "U", "U", "Y", "TH", "Y",
};

// The next UTF-8 code point at text[i], advancing i; -1 for a malformed sequence.
long next_code_point(const std::string& text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0) return -1;
    long code = lead & (0x3F >> more);
    for (; more > 0; --more) {
        if (i >= text.size()) return -1;
        const auto next = static_cast<unsigned char>(text[i++]);
        if ((next & 0xC0) != 0x80) return -1;
        code = (code << 6) | (next & 0x3F);
    }
    return code;
}

}  // namespace

std::string word_list_form(const std::string& entry) {
    std::string word;
    size_t i = 0;
    while (i < entry.size()) {
        const long code = next_code_point(entry, i);
        if (code >= 'a' && code <= 'z') {
            word += static_cast<char>(code - 'a' + 'A');
        } else if (code >= 'A' && code <= 'Z') {
            word += static_cast<char>(code);
        } else if (code >= 0xC0 && code <= 0xFF && kLatin1Letters[code - 0xC0] != nullptr) {
            word += kLatin1Letters[code - 0xC0];
        } else if (code == 0x152 || code == 0x153) {  // the oe ligature
            word += "OE";
        } else {
            return "";
        }
    }
    return word;
}

bool load_word_list(const std::string& path, std::vector<std::string>& words, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the word list " + path + " (Debian package wbritish-large)";
        return false;
    }
    words.clear();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string word = word_list_form(line);
        if (!word.empty()) words.push_back(std::move(word));
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    if (words.empty()) {
        error = "the word list " + path + " holds no words";
        return false;
    }
    return true;
}

bool has_prefix(const std::vector<std::string>& words, const std::string& prefix) {
    auto it = std::lower_bound(words.begin(), words.end(), prefix);
    return it != words.end() && it->compare(0, prefix.size(), prefix) == 0;
}

}  // namespace tvk::content
