#include "tools/content/difficulty.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "tools/content/word_list.h"

namespace tvk::content {

bool load_commonness(const std::string& folder, CommonnessLevels& levels, std::string& error) {
    static const std::regex kListName(R"((english|british)-(words|upper|proper-names)\.(\d+))");
    levels.clear();
    int lists = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::smatch match;
        const std::string name = entry.path().filename().string();
        if (!std::regex_match(name, match, kListName)) continue;
        const int size = std::stoi(match[3].str());
        std::ifstream in(entry.path(), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            const std::string word = word_list_form(line);
            if (word.empty()) continue;
            auto [it, inserted] = levels.emplace(word, size);
            if (!inserted) it->second = std::min(it->second, size);
        }
        ++lists;
    }
    if (lists == 0) {
        error = "no SCOWL word lists in " + folder + " (Debian package scowl)";
        return false;
    }
    return true;
}

int commonness_of(const CommonnessLevels& levels, const std::string& word) {
    auto it = levels.find(word);
    return it == levels.end() ? kUnlistedLevel : it->second;
}

std::vector<DifficultyBlock> difficulty_by_block(const std::vector<PuzzleRound>& rounds,
                                                 const CommonnessLevels& levels) {
    std::vector<DifficultyBlock> blocks;
    for (size_t first = 0; first < rounds.size(); first += kRoundsPerBlock) {
        DifficultyBlock block;
        const size_t last = std::min(rounds.size(), first + kRoundsPerBlock) - 1;
        block.first_round = rounds[first].number;
        block.last_round = rounds[last].number;
        double letters = 0, level_sum = 0;
        for (size_t r = first; r <= last; ++r) {
            for (const std::string& word : rounds[r].words) {
                const int level = commonness_of(levels, word);
                ++block.words;
                letters += static_cast<double>(word.size());
                level_sum += level;
                if (level <= 20) ++block.common_words;
                if (level >= 55) ++block.rare_words;
            }
        }
        if (block.words > 0) {
            block.mean_length = letters / block.words;
            block.mean_level = level_sum / block.words;
        }
        blocks.push_back(block);
    }
    return blocks;
}

std::vector<std::string> check_difficulty_rises(const std::vector<DifficultyBlock>& blocks) {
    std::vector<std::string> problems;
    auto name = [](const DifficultyBlock& b) {
        return "rounds " + std::to_string(b.first_round) + "-" + std::to_string(b.last_round);
    };
    auto figure = [](double value) {
        char text[16];
        std::snprintf(text, sizeof text, "%.2f", value);
        return std::string(text);
    };
    for (size_t i = 1; i < blocks.size(); ++i) {
        const DifficultyBlock& before = blocks[i - 1];
        const DifficultyBlock& block = blocks[i];
        if (block.mean_length < before.mean_length) {
            problems.push_back(name(block) + " are easier than " + name(before) +
                               ": answers of " + figure(block.mean_length) +
                               " letters on average after " + figure(before.mean_length));
        }
        if (block.mean_level < before.mean_level) {
            problems.push_back(name(block) + " are easier than " + name(before) +
                               ": answers of mean SCOWL size " + figure(block.mean_level) +
                               " after " + figure(before.mean_level));
        }
    }
    return problems;
}

}  // namespace tvk::content
