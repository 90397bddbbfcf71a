#include "tools/content/puzzle_check.h"

#include <algorithm>
#include <map>
#include <set>

#include "game/content/word_cuts.h"
#include "tools/content/round_tiles.h"

namespace tvk::content {

namespace {

// Characters a clue may use; the FIND font has to draw each of them.
constexpr const char* kClueCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,'-";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string round_prefix(const PuzzleRound& round) {
    return "round " + std::to_string(round.number) + ": ";
}

// The regular plurals of a word in capitals: +ES after SS, X, Z, CH and SH, Y after
// a consonant turned into IES, +S otherwise. A word that already ends in S is
// taken as a plural (WAVES, TROUSERS). Irregular plurals (MICE) are written out
// in the others: lists.
std::vector<std::string> plural_forms(const std::string& word) {
    auto ends_with = [&](const char* end) {
        const std::string e(end);
        return word.size() > e.size() && word.compare(word.size() - e.size(), e.size(), e) == 0;
    };
    if (ends_with("SS") || ends_with("X") || ends_with("Z") || ends_with("CH") ||
        ends_with("SH")) {
        return {word + "ES"};
    }
    if (ends_with("S")) return {};
    if (word.size() > 2 && word.back() == 'Y' &&
        std::string("AEIOU").find(word[word.size() - 2]) == std::string::npos) {
        return {word.substr(0, word.size() - 1) + "IES"};
    }
    return {word + "S"};
}

bool capitals_only(const std::string& word) {
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

bool valid_word(const std::string& word) {
    return word.size() >= 4 && word.size() <= 10 && capitals_only(word);
}

// Centred texts start at 240 - width / 2 with the width halved by integer division.
int centred_left(int width) { return PlayLayout::kScreenWidth / 2 - width / 2; }

std::string join(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) text += separator;
        text += parts[i];
    }
    return text;
}

void check_word_form(const PuzzleRound& round, std::vector<std::string>& problems) {
    if (round.words.size() != kWordsPerRound) {
        problems.push_back(round_prefix(round) + std::to_string(round.words.size()) +
                           " words; a round needs exactly 7");
    }
    for (size_t i = 0; i < round.words.size(); ++i) {
        const std::string& word = round.words[i];
        std::string where =
            round_prefix(round) + "word " + std::to_string(i + 1) + " " + quoted(word) + " ";
        if (word.size() < 4 || word.size() > 10) {
            problems.push_back(where + "has " + std::to_string(word.size()) +
                               " letters; answers have 4 to 10");
        }
        if (!capitals_only(word)) {
            problems.push_back(where + "may only use the capital letters A to Z");
        }
    }
}

void check_clue(const PuzzleRound& round, const PlayFonts& fonts,
                std::vector<std::string>& problems) {
    const std::string prefix = round_prefix(round);
    if (round.clue.empty()) {
        problems.push_back(prefix + "the clue is empty");
        return;
    }
    size_t bad = round.clue.find_first_not_of(kClueCharacters);
    if (bad != std::string::npos) {
        problems.push_back(prefix + "the clue " + quoted(round.clue) + " uses " +
                           quoted(std::string(1, round.clue[bad])) +
                           "; clues are written in capitals, digits, spaces and , ' -");
    }
    // The count shown counts down from 7 to 0; the widest digit decides.
    int widest = 0;
    std::string widest_line;
    for (char digit = '7'; digit >= '0'; --digit) {
        std::string line = "FIND " + std::string(1, digit) + " " + round.clue;
        int width = fonts.find.text_width(line);
        if (width > widest) {
            widest = width;
            widest_line = line;
        }
    }
    char missing = 0;
    if (!fonts.find.draws_all(widest_line, &missing)) {
        problems.push_back(prefix + "the FIND font " + fonts.find.file + " has no glyph for " +
                           quoted(std::string(1, missing)));
    }
    const int room = PlayLayout::kScreenWidth - 2 * PlayLayout::kScreenMargin;
    int left = centred_left(widest);
    if (left < PlayLayout::kScreenMargin ||
        left + widest > PlayLayout::kScreenWidth - PlayLayout::kScreenMargin) {
        problems.push_back(prefix + "the line " + quoted(widest_line) + " is " +
                           std::to_string(widest) + " pixels wide in " + fonts.find.file +
                           "; the screen has room for " + std::to_string(room) +
                           " (shorten the clue)");
    }
}

void check_text_room(const PuzzleRound& round, const PlayFonts& fonts,
                     std::vector<std::string>& problems) {
    const std::string prefix = round_prefix(round);
    char missing = 0;
    std::vector<std::string> fragments;
    for (size_t i = 0; i < round.words.size(); ++i) {
        const std::string& word = round.words[i];
        if (!valid_word(word)) continue;

        for (const std::string& piece : game::fragments_of(word)) {
            fragments.push_back(piece);
            const int width = fonts.fragment.text_width(piece);
            const int offset = PlayLayout::kTileWidth / 2 - width / 2;
            if (!fonts.fragment.draws_all(piece, &missing)) {
                problems.push_back(prefix + "the tile font " + fonts.fragment.file +
                                   " has no glyph for " + quoted(std::string(1, missing)));
            } else if (offset < PlayLayout::kTilePadding ||
                       offset + width > PlayLayout::kTileWidth - PlayLayout::kTilePadding) {
                problems.push_back(
                    prefix + "the fragment " + quoted(piece) + " of " + quoted(word) + " is " +
                    std::to_string(width) + " pixels wide in " + fonts.fragment.file +
                    "; a tile has room for " +
                    std::to_string(PlayLayout::kTileWidth - 2 * PlayLayout::kTilePadding));
            }
        }

        const std::string number = std::to_string(i + 1) + ". ";
        const int line_room =
            PlayLayout::kScreenWidth - PlayLayout::kScreenMargin - PlayLayout::kWordLineX;
        const std::string solved = number + word;
        const std::string hidden = number + std::string(word.size(), '?');
        for (const FontMetrics* font : {&fonts.heading, &fonts.unsolved}) {
            const std::string& line = font == &fonts.heading ? solved : hidden;
            if (!font->draws_all(line, &missing)) {
                problems.push_back(prefix + "the word-list font " + font->file +
                                   " has no glyph for " + quoted(std::string(1, missing)));
            } else if (font->text_width(line) > line_room) {
                problems.push_back(prefix + "the word line " + quoted(line) + " is " +
                                   std::to_string(font->text_width(line)) + " pixels wide in " +
                                   font->file + "; the word list has room for " +
                                   std::to_string(line_room));
            }
        }
    }

    // The assembled text sits between the undo and check buttons and can hold any
    // four fragments the player picks; the widest four decide.
    std::sort(fragments.begin(), fragments.end(), [&](const std::string& a, const std::string& b) {
        return fonts.heading.text_width(a) > fonts.heading.text_width(b);
    });
    std::string widest;
    for (size_t i = 0; i < fragments.size() && i < static_cast<size_t>(kMaxPicks); ++i) {
        widest += fragments[i];
    }
    const int width = fonts.heading.text_width(widest);
    const int left = centred_left(width);
    if (!widest.empty() && !fonts.heading.draws_all(widest, &missing)) {
        problems.push_back(prefix + "the heading font " + fonts.heading.file +
                           " has no glyph for " + quoted(std::string(1, missing)));
    } else if (left < PlayLayout::kUndoButtonRight + PlayLayout::kButtonGap ||
               left + width > PlayLayout::kCheckButtonLeft - PlayLayout::kButtonGap) {
        problems.push_back(prefix + "four picked fragments can make " + quoted(widest) + ", " +
                           std::to_string(width) + " pixels wide in " + fonts.heading.file +
                           "; it would run into the buttons");
    }
}

bool is_answer(const PuzzleRound& round, const std::string& word) {
    return std::find(round.words.begin(), round.words.end(), word) != round.words.end();
}

// The others: list holds the words that belong to the clue besides the answers. A
// player who assembles one of them, or the plural of one of them or of an answer
// (the word lines show only lengths, and DADS is as right as DAD), sees Check
// refuse a right answer.
void check_others(const PuzzleRound& round, std::vector<std::string>& problems) {
    const std::string prefix = round_prefix(round);
    if (round.others.empty()) {
        problems.push_back(prefix + "no \"others:\" list: write the words a player could offer "
                                    "for " + quoted(round.clue) + " besides the answers");
        return;
    }
    // Each word that belongs, with the word it is the plural of ("" for itself).
    std::vector<std::pair<std::string, std::string>> belonging;
    std::set<std::string> seen;
    for (const std::string& word : round.others) {
        if (!seen.insert(word).second) {
            problems.push_back(prefix + quoted(word) + " is in the others: list twice");
        } else if (word.size() < 2 || !capitals_only(word)) {
            problems.push_back(prefix + "the others: word " + quoted(word) +
                               " is not a word of capitals A to Z");
        } else if (is_answer(round, word)) {
            problems.push_back(prefix + quoted(word) +
                               " is an answer; the others: list holds the words that are not");
        } else {
            belonging.emplace_back(word, "");
        }
    }
    std::vector<std::string> singulars = round.others;
    singulars.insert(singulars.end(), round.words.begin(), round.words.end());
    for (const std::string& word : singulars) {
        if (!capitals_only(word)) continue;
        for (const std::string& plural : plural_forms(word)) {
            if (!is_answer(round, plural) && seen.insert(plural).second) {
                belonging.emplace_back(plural, word);
            }
        }
    }

    const std::vector<Tile> tiles = round_tiles(round);
    for (const auto& [word, singular] : belonging) {
        const std::vector<std::vector<size_t>> builds = builds_of(tiles, word);
        if (builds.empty()) continue;
        const std::string what = singular.empty()
                                     ? quoted(word)
                                     : quoted(word) + ", the plural of " + quoted(singular) + ",";
        problems.push_back(prefix + what + " belongs to " + quoted(round.clue) +
                           " and the tiles spell it (" + spelled(tiles, builds.front()) +
                           "); Check would refuse a right answer");
    }
}

}  // namespace

bool load_play_fonts(const std::string& media_folder, PlayFonts& fonts, std::string& error) {
    return load_play_font(media_folder, kHeadingFont, fonts.heading, error) &&
           load_play_font(media_folder, kFindFont, fonts.find, error) &&
           load_play_font(media_folder, kFragmentFont, fonts.fragment, error) &&
           load_play_font(media_folder, kUnsolvedFont, fonts.unsolved, error);
}

std::vector<std::string> check_solvable(const PuzzleRound& round) {
    std::vector<std::string> problems;
    const std::vector<Tile> tiles = round_tiles(round);

    for (size_t w = 0; w < round.words.size(); ++w) {
        const std::string& word = round.words[w];
        std::vector<std::string> own = game::fragments_of(word);
        if (own.empty()) continue;
        std::sort(own.begin(), own.end());

        const std::vector<std::vector<size_t>> builds = builds_of(tiles, word);
        bool reported_theft = false;
        bool reported_twice = false;
        for (const std::vector<size_t>& build : builds) {
            std::vector<std::string> pieces;
            std::set<std::string> others;
            bool uses_own = false;
            for (size_t t : build) {
                pieces.push_back(tiles[t].text);
                if (tiles[t].owner == w) {
                    uses_own = true;
                } else {
                    others.insert(quoted(round.words[tiles[t].owner]));
                }
            }
            const std::string assembled = join(pieces, " + ");
            std::vector<std::string> sorted = pieces;
            std::sort(sorted.begin(), sorted.end());
            std::vector<std::string> owners(others.begin(), others.end());

            if (sorted != own && !reported_theft) {
                // Picking these leaves fragments no remaining answer is made of.
                reported_theft = true;
                problems.push_back(round_prefix(round) + quoted(word) +
                                   " can also be assembled as " + assembled +
                                   ", taking fragments that " + join(owners, " and ") +
                                   (owners.size() == 1 ? " needs" : " need") +
                                   "; the round could no longer be finished");
            } else if (sorted == own && !uses_own && !reported_twice) {
                // The game counts every match, so a found word spelled again counts twice.
                reported_twice = true;
                problems.push_back(round_prefix(round) + quoted(word) +
                                   " can be assembled a second time from fragments of " +
                                   join(owners, " and ") + " (" + assembled +
                                   "); it would be counted as found twice");
            }
        }
    }
    return problems;
}

std::vector<std::string> check_round(const PuzzleRound& round, const PlayFonts& fonts) {
    std::vector<std::string> problems;
    check_word_form(round, problems);
    check_clue(round, fonts, problems);
    check_others(round, problems);

    int fragments = 0;
    for (const std::string& word : round.words) fragments += game::fragment_count(word.size());
    if (fragments != kTilesPerRound) {
        problems.push_back(round_prefix(round) + "the words give " + std::to_string(fragments) +
                           " fragments; a round needs exactly 20 (4 and 5 letters give 2, "
                           "6, 7 and 9 give 3, 8 and 10 give 4)");
    }

    std::set<std::string> seen;
    bool repeated = false;
    for (const std::string& word : round.words) {
        if (!seen.insert(word).second) {
            repeated = true;
            problems.push_back(round_prefix(round) + quoted(word) + " is an answer twice");
        }
    }

    check_text_room(round, fonts, problems);
    // A repeated answer already says all there is about assembling it twice.
    if (!repeated) {
        std::vector<std::string> unsolvable = check_solvable(round);
        problems.insert(problems.end(), unsolvable.begin(), unsolvable.end());
    }
    return problems;
}

std::vector<std::string> check_rounds(const std::vector<PuzzleRound>& rounds,
                                      const PlayFonts& fonts) {
    std::vector<std::string> problems;
    if (rounds.size() != kRoundCount) {
        problems.push_back("the game plays exactly 50 rounds; the source has " +
                           std::to_string(rounds.size()));
    }
    std::map<std::string, int> first_round;
    for (const PuzzleRound& round : rounds) {
        std::vector<std::string> own = check_round(round, fonts);
        problems.insert(problems.end(), own.begin(), own.end());
        std::set<std::string> in_round;
        for (const std::string& word : round.words) {
            if (!in_round.insert(word).second) continue;  // reported by check_round
            auto [it, inserted] = first_round.emplace(word, round.number);
            if (!inserted) {
                problems.push_back(round_prefix(round) + quoted(word) +
                                   " is already an answer of round " + std::to_string(it->second));
            }
        }
    }
    return problems;
}

std::vector<WidestText> widest_texts(const std::vector<PuzzleRound>& rounds,
                                     const PlayFonts& fonts) {
    const int screen_room = PlayLayout::kScreenWidth - 2 * PlayLayout::kScreenMargin;
    const int tile_room = PlayLayout::kTileWidth - 2 * PlayLayout::kTilePadding;
    const int line_room =
        PlayLayout::kScreenWidth - PlayLayout::kScreenMargin - PlayLayout::kWordLineX;
    const int answer_room = 2 * (PlayLayout::kCheckButtonLeft - PlayLayout::kButtonGap -
                                 PlayLayout::kScreenWidth / 2);
    std::vector<WidestText> widest = {
        {"FIND line (" + fonts.find.file + ")", "", 0, screen_room},
        {"fragment on a tile (" + fonts.fragment.file + ")", "", 0, tile_room},
        {"solved word line (" + fonts.heading.file + ")", "", 0, line_room},
        {"hidden word line (" + fonts.unsolved.file + ")", "", 0, line_room},
        {"assembled answer (" + fonts.heading.file + ")", "", 0, answer_room},
    };
    auto consider = [](WidestText& place, const std::string& text, int width) {
        if (width > place.width) {
            place.text = text;
            place.width = width;
        }
    };
    for (const PuzzleRound& round : rounds) {
        consider(widest[0], "FIND 7 " + round.clue, fonts.find.text_width("FIND 7 " + round.clue));
        for (size_t i = 0; i < round.words.size(); ++i) {
            const std::string& word = round.words[i];
            for (const std::string& piece : game::fragments_of(word)) {
                consider(widest[1], piece, fonts.fragment.text_width(piece));
            }
            const std::string number = std::to_string(i + 1) + ". ";
            consider(widest[2], number + word, fonts.heading.text_width(number + word));
            const std::string hidden = number + std::string(word.size(), '?');
            consider(widest[3], hidden, fonts.unsolved.text_width(hidden));
            consider(widest[4], word, fonts.heading.text_width(word));
        }
    }
    return widest;
}

}  // namespace tvk::content
