// splitverse-content: the game's rounds, from their readable source to the
// enciphered puzzle file the game reads.
//
//   splitverse-content check [SOURCE] [--fonts MEDIA]    checks every round
//   splitverse-content build [SOURCE] [OUTPUT] [--fonts MEDIA]
//                                                        checks, then writes the puzzle file
//   splitverse-content decode [FILE]                     prints the deciphered lines
//
// Run from the top of the source tree, SOURCE defaults to tools/content/rounds.txt,
// OUTPUT and FILE to game/media/gamedata.txt and MEDIA to game/media. Texts are
// measured in the font images found in MEDIA; a font whose image is missing is
// measured with its placeholder width table.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/content/puzzle_check.h"
#include "tools/content/puzzle_file.h"
#include "tools/content/puzzle_source.h"

namespace {

using namespace tvk::content;

constexpr const char* kDefaultSource = "tools/content/rounds.txt";
constexpr const char* kDefaultPuzzleFile = "game/media/gamedata.txt";
constexpr const char* kDefaultMedia = "game/media";

int usage() {
    std::fputs(
        "usage: splitverse-content check [SOURCE] [--fonts MEDIA]\n"
        "       splitverse-content build [SOURCE] [OUTPUT] [--fonts MEDIA]\n"
        "       splitverse-content decode [FILE]\n",
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

// Reads and checks the source; prints every problem and returns false when any.
bool load_checked(const std::string& source_path, const std::string& media,
                  std::vector<PuzzleRound>& rounds) {
    std::string text;
    if (!read_text(source_path, text)) {
        fail("cannot read " + source_path);
        return false;
    }
    PlayFonts fonts;
    std::string error;
    if (!load_play_fonts(media, fonts, error)) {
        fail(error);
        return false;
    }
    PuzzleSource source = parse_puzzle_source(text);
    std::vector<std::string> problems = source.problems;
    std::vector<std::string> round_problems = check_rounds(source.rounds, fonts);
    problems.insert(problems.end(), round_problems.begin(), round_problems.end());
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

int run_check(const std::vector<std::string>& paths, const std::string& media) {
    if (paths.size() > 1) return usage();
    std::vector<PuzzleRound> rounds;
    return load_checked(paths.empty() ? kDefaultSource : paths[0], media, rounds) ? 0 : 1;
}

int run_build(const std::vector<std::string>& paths, const std::string& media) {
    if (paths.size() > 2) return usage();
    std::string source = paths.size() > 0 ? paths[0] : kDefaultSource;
    std::string output = paths.size() > 1 ? paths[1] : kDefaultPuzzleFile;
    std::vector<PuzzleRound> rounds;
    if (!load_checked(source, media, rounds)) return fail("nothing written to " + output);

    std::string file = encipher_puzzle_file(rounds);
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << file;
    out.close();
    if (out.fail()) return fail("cannot write " + output);
    std::printf("wrote %zu lines to %s\n", puzzle_lines(rounds).size(), output.c_str());
    return 0;
}

int run_decode(const std::vector<std::string>& paths) {
    if (paths.size() > 1) return usage();
    std::string path = paths.empty() ? kDefaultPuzzleFile : paths[0];
    std::string text;
    if (!read_text(path, text)) return fail("cannot read " + path);
    std::vector<std::string> lines = decipher_puzzle_file(text);
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    const size_t expected = static_cast<size_t>(kRoundCount) * (1 + kWordsPerRound);
    if (lines.size() < expected) {
        std::fprintf(stderr, "splitverse-content: %s has %zu lines; the game reads %zu\n",
                     path.c_str(), lines.size(), expected);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    std::vector<std::string> paths;
    std::string media = kDefaultMedia;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--fonts") {
            if (i + 1 >= argc) return usage();
            media = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            paths.push_back(arg);
        }
    }
    if (command == "check") return run_check(paths, media);
    if (command == "build") return run_build(paths, media);
    if (command == "decode") return run_decode(paths);
    return usage();
}
