#include "tools/content/puzzle_file.h"

#include <sstream>

#include "runtime/value/rt_string.h"
#include "runtime/value/text_cipher.h"

namespace tvk::content {

std::vector<std::string> puzzle_lines(const std::vector<PuzzleRound>& rounds) {
    std::vector<std::string> lines;
    for (const PuzzleRound& round : rounds) {
        lines.push_back(round.clue);
        lines.insert(lines.end(), round.words.begin(), round.words.end());
    }
    return lines;
}

std::string encipher_puzzle_file(const std::vector<PuzzleRound>& rounds) {
    std::string file;
    for (const std::string& line : puzzle_lines(rounds)) {
        RtString hex = string_encrypt(RtString(kPuzzleKey), RtString(line.c_str()));
        file.append(hex.c_str(), hex.length);
        file += '\n';
    }
    return file;
}

std::vector<std::string> decipher_puzzle_file(const std::string& file_text) {
    std::vector<std::string> lines;
    std::istringstream in(file_text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        RtString plain = string_decrypt(RtString(kPuzzleKey), RtString(line.c_str()));
        lines.emplace_back(plain.c_str(), plain.length);
    }
    return lines;
}

}  // namespace tvk::content
