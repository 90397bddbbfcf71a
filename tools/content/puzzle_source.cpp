#include "tools/content/puzzle_source.h"

#include <sstream>

namespace tvk::content {

namespace {

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string at_line(int line, const std::string& message) {
    return "line " + std::to_string(line) + ": " + message;
}

}  // namespace

PuzzleSource parse_puzzle_source(const std::string& text) {
    PuzzleSource source;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    bool in_others = false;  // an "others:" line came: words go to the category list
    while (std::getline(in, raw)) {
        ++line;
        std::string content = trimmed(raw);
        if (content.empty() || content[0] == '#') continue;

        if (content.rfind("round", 0) == 0 && content.find(':') != std::string::npos) {
            size_t colon = content.find(':');
            std::string number_text = trimmed(content.substr(5, colon - 5));
            int expected = static_cast<int>(source.rounds.size()) + 1;
            bool digits = !number_text.empty() && number_text.size() < 6 &&
                          number_text.find_first_not_of("0123456789") == std::string::npos;
            if (!digits) {
                source.problems.push_back(at_line(line, "\"" + content + "\" has no round number"));
                continue;
            }
            int number = std::stoi(number_text);
            if (number != expected) {
                source.problems.push_back(at_line(line, "round " + number_text + " where round " +
                                                            std::to_string(expected) + " belongs"));
            }
            PuzzleRound round;
            round.number = number;
            round.line = line;
            round.clue = trimmed(content.substr(colon + 1));
            source.rounds.push_back(round);
            in_others = false;
            continue;
        }

        if (source.rounds.empty()) {
            source.problems.push_back(
                at_line(line, "words before the first \"round N: CLUE\" line"));
            continue;
        }
        PuzzleRound& round = source.rounds.back();
        if (content.rfind(kOthersLabel, 0) == 0) {
            in_others = true;
            content = content.substr(std::string(kOthersLabel).size());
        }
        std::istringstream words(content);
        std::string word;
        while (words >> word) (in_others ? round.others : round.words).push_back(word);
    }
    return source;
}

std::vector<std::string> puzzle_lines(const std::vector<PuzzleRound>& rounds) {
    std::vector<std::string> lines;
    for (const PuzzleRound& round : rounds) {
        lines.push_back(round.clue);
        lines.insert(lines.end(), round.words.begin(), round.words.end());
    }
    return lines;
}

}  // namespace tvk::content
