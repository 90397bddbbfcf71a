// splitverse-content: the game's rounds, from their readable source to the
// enciphered puzzle file the game reads.
//
//   splitverse-content check [SOURCE] [OPTIONS]           checks every round
//   splitverse-content build [SOURCE] [OUTPUT] [OPTIONS]  checks, then writes the puzzle file
//   splitverse-content decode [FILE]                      prints the deciphered lines
//   splitverse-content progress [FILE]                    prints the rounds a progress file
//                                                         records as completed
// OPTIONS:
//   --fonts MEDIA   the font images the texts are measured in
//   --words FILE    the word list of the dictionary pass
//   --levels DIR    the SCOWL lists the difficulty is measured with
//
// Run from the top of the source tree, SOURCE defaults to tools/content/rounds.txt,
// OUTPUT and FILE to game/media/gamedata.txt (moredata.txt for progress) and MEDIA
// to game/media; FILE defaults to /usr/share/dict/british-english-large and DIR to
// /usr/share/dict/scowl (Debian packages wbritish-large and scowl). A font whose
// image is missing is measured with its placeholder width table.
//
// Besides the problems, the check prints for each round the words of the word list
// its tiles spell that are not answers (to judge the round's others: list by), and
// the difficulty of each block of ten rounds.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/content/progress_line.h"
#include "game/content/puzzle_lines.h"
#include "tools/content/dictionary_pass.h"
#include "tools/content/difficulty.h"
#include "tools/content/puzzle_check.h"
#include "tools/content/puzzle_source.h"
#include "tools/content/word_list.h"

namespace {

using namespace tvk::content;

constexpr const char* kDefaultSource = "tools/content/rounds.txt";
constexpr const char* kDefaultPuzzleFile = "game/media/gamedata.txt";
constexpr const char* kDefaultProgressFile = "game/media/moredata.txt";
constexpr const char* kDefaultMedia = "game/media";

struct Options {
    std::vector<std::string> paths;
    std::string media = kDefaultMedia;
    std::string word_list = kDefaultWordList;
    std::string levels = kDefaultLevelFolder;
};

int usage() {
    std::fputs(
        "usage: splitverse-content check [SOURCE] [OPTIONS]\n"
        "       splitverse-content build [SOURCE] [OUTPUT] [OPTIONS]\n"
        "       splitverse-content decode [FILE]\n"
        "       splitverse-content progress [FILE]\n"
        "options: --fonts MEDIA  --words WORD_LIST  --levels SCOWL_FOLDER\n",
        stderr);
    return 2;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "splitverse-content: %s\n", message.c_str());
    return 1;
}

bool read_text(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string font_origin(const FontMetrics& font) {
    return font.file + (font.measured_from.empty() ? " (placeholder widths)" : " (measured)");
}

void print_spelled_words(const std::vector<PuzzleRound>& rounds,
                         const std::vector<std::string>& word_list) {
    std::printf(
        "words the tiles spell besides the answers (none may be in a round's others: list):\n");
    for (const PuzzleRound& round : rounds) {
        std::string line;
        for (const SpelledWord& spelled : words_spelled(round, word_list)) {
            line += " " + spelled.word;
        }
        std::printf("  round %d %s:%s\n", round.number, round.clue.c_str(),
                    line.empty() ? " (none)" : line.c_str());
    }
}

void print_difficulty(const std::vector<DifficultyBlock>& blocks) {
    std::printf(
        "difficulty by block (length in letters; SCOWL size, 10 most common to 95 rarest):\n");
    for (const DifficultyBlock& b : blocks) {
        std::printf("  rounds %2d-%2d: mean length %.2f, mean SCOWL size %5.1f, "
                    "%2d of %d answers in sizes 10-20, %2d at 55 or beyond\n",
                    b.first_round, b.last_round, b.mean_length, b.mean_level, b.common_words,
                    b.words, b.rare_words);
    }
}

// Reads and checks the source; prints every problem and returns false when any.
bool load_checked(const std::string& source_path, const Options& options,
                  std::vector<PuzzleRound>& rounds) {
    std::string text;
    if (!read_text(source_path, text)) {
        fail("cannot read " + source_path);
        return false;
    }
    PlayFonts fonts;
    std::vector<std::string> word_list;
    CommonnessLevels levels;
    std::string error;
    if (!load_play_fonts(options.media, fonts, error) ||
        !load_word_list(options.word_list, word_list, error) ||
        !load_commonness(options.levels, levels, error)) {
        fail(error);
        return false;
    }
    PuzzleSource source = parse_puzzle_source(text);
    std::vector<std::string> problems = source.problems;
    std::vector<std::string> round_problems = check_rounds(source.rounds, fonts);
    problems.insert(problems.end(), round_problems.begin(), round_problems.end());
    std::vector<std::string> unlisted = check_answers_listed(source.rounds, word_list);
    problems.insert(problems.end(), unlisted.begin(), unlisted.end());
    const std::vector<DifficultyBlock> blocks = difficulty_by_block(source.rounds, levels);
    std::vector<std::string> difficulty_problems = check_difficulty_rises(blocks);
    problems.insert(problems.end(), difficulty_problems.begin(), difficulty_problems.end());

    print_spelled_words(source.rounds, word_list);
    print_difficulty(blocks);
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "%s: %s\n", source_path.c_str(), problem.c_str());
    }
    if (!problems.empty()) {
        std::fprintf(stderr, "splitverse-content: %zu problem%s in %s\n", problems.size(),
                     problems.size() == 1 ? "" : "s", source_path.c_str());
        return false;
    }
    std::printf("%zu rounds checked; texts measured in %s, %s, %s, %s\n", source.rounds.size(),
                font_origin(fonts.heading).c_str(), font_origin(fonts.find).c_str(),
                font_origin(fonts.fragment).c_str(), font_origin(fonts.unsolved).c_str());
    for (const WidestText& place : widest_texts(source.rounds, fonts)) {
        std::printf("  widest %s: \"%s\", %d of %d pixels\n", place.place.c_str(),
                    place.text.c_str(), place.width, place.room);
    }
    rounds = std::move(source.rounds);
    return true;
}

int run_check(const Options& options) {
    if (options.paths.size() > 1) return usage();
    std::vector<PuzzleRound> rounds;
    const std::string source = options.paths.empty() ? kDefaultSource : options.paths[0];
    return load_checked(source, options, rounds) ? 0 : 1;
}

int run_build(const Options& options) {
    if (options.paths.size() > 2) return usage();
    std::string source = options.paths.size() > 0 ? options.paths[0] : kDefaultSource;
    std::string output = options.paths.size() > 1 ? options.paths[1] : kDefaultPuzzleFile;
    std::vector<PuzzleRound> rounds;
    if (!load_checked(source, options, rounds)) return fail("nothing written to " + output);

    const std::vector<std::string> lines = puzzle_lines(rounds);
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << tvk::game::encipher_puzzle_file(lines);
    out.close();
    if (out.fail()) return fail("cannot write " + output);
    std::printf("wrote %zu lines to %s\n", lines.size(), output.c_str());
    return 0;
}

int run_decode(const Options& options) {
    if (options.paths.size() > 1) return usage();
    std::string path = options.paths.empty() ? kDefaultPuzzleFile : options.paths[0];
    std::string text;
    if (!read_text(path, text)) return fail("cannot read " + path);
    std::vector<std::string> lines = tvk::game::decipher_puzzle_file(text);
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    const size_t expected =
        static_cast<size_t>(tvk::game::kPuzzleRounds) * tvk::game::kPuzzleLinesPerRound;
    if (lines.size() < expected) {
        std::fprintf(stderr, "splitverse-content: %s has %zu lines; the game reads %zu\n",
                     path.c_str(), lines.size(), expected);
    }
    return 0;
}

int run_progress(const Options& options) {
    if (options.paths.size() > 1) return usage();
    std::string path = options.paths.empty() ? kDefaultProgressFile : options.paths[0];
    std::string text;
    if (!read_text(path, text)) return fail("cannot read " + path);
    const std::string line = text.substr(0, text.find_first_of("\r\n"));
    const auto progress = tvk::game::progress_from_line(line);
    std::string completed;
    for (size_t r = 1; r < progress.size(); ++r) {
        if (progress[r] != 0) completed += " " + std::to_string(r);
    }
    std::printf("completed:%s\n", completed.empty() ? " none" : completed.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    Options options;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* value = arg == "--fonts"    ? &options.media
                             : arg == "--words"  ? &options.word_list
                             : arg == "--levels" ? &options.levels
                                                 : nullptr;
        if (value != nullptr) {
            if (i + 1 >= argc) return usage();
            *value = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            options.paths.push_back(arg);
        }
    }
    if (command == "check") return run_check(options);
    if (command == "build") return run_build(options);
    if (command == "decode") return run_decode(options);
    if (command == "progress") return run_progress(options);
    return usage();
}
