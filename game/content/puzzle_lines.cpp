#include "game/content/puzzle_lines.h"

#include "game/content/cipher_text.h"

namespace tvk::game {

std::string encipher_puzzle_line(const std::string& plain) {
    return encipher_text(kPuzzleKey, plain);
}

std::string decipher_puzzle_line(const std::string& hex) { return decipher_text(kPuzzleKey, hex); }

std::string encipher_puzzle_file(const std::vector<std::string>& lines) {
    std::string file;
    for (const std::string& line : lines) file += encipher_puzzle_line(line) + '\n';
    return file;
}

std::vector<std::string> decipher_puzzle_file(const std::string& file_text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < file_text.size()) {
        size_t end = file_text.find('\n', start);
        if (end == std::string::npos) end = file_text.size();
        std::string line = file_text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(decipher_puzzle_line(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace tvk::game
