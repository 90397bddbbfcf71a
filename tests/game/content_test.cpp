// The game's content: the shipped rounds pass every check, the dictionary pass
// included, the shipped puzzle file is those rounds enciphered, and the checks
// catch the rounds that would spoil a game. The word cuts and line formats checked
// here are the game's own (game/content), not copies.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/content/progress_line.h"
#include "game/content/puzzle_lines.h"
#include "game/content/word_cuts.h"
#include "runtime/value/text_cipher.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "tools/content/dictionary_pass.h"
#include "tools/content/difficulty.h"
#include "tools/content/font_widths.h"
#include "tools/content/puzzle_check.h"
#include "tools/content/puzzle_source.h"
#include "tools/content/word_list.h"

namespace {

using namespace tvk::content;
using tvk::game::decipher_puzzle_file;
using tvk::game::encipher_puzzle_file;

const std::string kRepo = std::string(TAVRICK_TEST_SOURCE_DIR) + "/..";
const std::string kRoundsSource = kRepo + "/tools/content/rounds.txt";
const std::string kMedia = kRepo + "/game/media";
const std::string kPuzzleFile = kMedia + "/gamedata.txt";

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string all_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

std::vector<PuzzleRound> shipped_rounds() {
    PuzzleSource source = parse_puzzle_source(read_text(kRoundsSource));
    EXPECT_TRUE(source.problems.empty()) << all_lines(source.problems);
    return source.rounds;
}

TEST(ContentTest, ShippedRoundsPassEveryCheck) {
    std::vector<PuzzleRound> rounds = shipped_rounds();
    ASSERT_EQ(rounds.size(), 50u);
    // Measured in the font images once they are in the media folder.
    PlayFonts fonts;
    std::string error;
    ASSERT_TRUE(load_play_fonts(kMedia, fonts, error)) << error;
    std::vector<std::string> problems = check_rounds(rounds, fonts);
    EXPECT_TRUE(problems.empty()) << all_lines(problems);
}

// The dictionary pass over the system word list: no round's tiles spell a word of
// its own others: list, and the difficulty rises block by block.
TEST(ContentTest, ShippedRoundsPassTheDictionaryPass) {
    std::vector<PuzzleRound> rounds = shipped_rounds();
    std::vector<std::string> word_list;
    CommonnessLevels levels;
    std::string error;
    ASSERT_TRUE(load_word_list(kDefaultWordList, word_list, error)) << error;
    ASSERT_TRUE(load_commonness(kDefaultLevelFolder, levels, error)) << error;
    size_t listed = 0;
    for (const PuzzleRound& round : rounds) {
        for (const SpelledWord& spelled : words_spelled(round, word_list)) {
            ++listed;
            EXPECT_EQ(std::find(round.others.begin(), round.others.end(), spelled.word),
                      round.others.end())
                << "round " << round.number << " " << round.clue << ": " << spelled.word << " ("
                << spelled.assembled << ")";
        }
    }
    EXPECT_GT(listed, 0u) << "the word list spells nothing: is it the right file?";
    const std::vector<DifficultyBlock> blocks = difficulty_by_block(rounds, levels);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_TRUE(check_difficulty_rises(blocks).empty())
        << all_lines(check_difficulty_rises(blocks));
}

TEST(ContentTest, ShippedPuzzleFileIsTheSourceEnciphered) {
    std::vector<PuzzleRound> rounds = shipped_rounds();
    const std::string file = read_text(kPuzzleFile);
    std::vector<std::string> lines = decipher_puzzle_file(file);
    ASSERT_EQ(lines.size(), 400u);
    EXPECT_EQ(lines, puzzle_lines(rounds));
    EXPECT_EQ(lines[0], rounds[0].clue);
    EXPECT_EQ(lines[399], rounds[49].words[6]);
    // Every line is hex of whole cipher blocks, short enough for the game's line reading.
    size_t start = 0;
    for (size_t end = file.find('\n'); end != std::string::npos; end = file.find('\n', start)) {
        const std::string hex = file.substr(start, end - start);
        EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos) << hex;
        EXPECT_EQ(hex.size() % 16, 0u) << hex;
        EXPECT_LE(hex.size(), 1024u);
        start = end + 1;
    }
    EXPECT_EQ(encipher_puzzle_file(puzzle_lines(rounds)), file)
        << "rebuild with splitverse-content build";
}

TEST(ContentTest, DecipheringAcceptsCarriageReturnsAndUpperCaseHex) {
    std::string file = encipher_puzzle_file({"FRUIT", "APPLE", "LEMON"});
    std::string windows;
    for (char c : file) {
        if (c == '\n') windows += '\r';
        windows += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(decipher_puzzle_file(windows), (std::vector<std::string>{"FRUIT", "APPLE", "LEMON"}));
}

TEST(ContentTest, WordsAreCutAsThePlayScreenCutsThem) {
    struct Case {
        std::string word;
        std::vector<std::string> fragments;
    };
    const Case cases[] = {
        {"ABC", {}},
        {"ABCD", {"AB", "CD"}},
        {"ABCDE", {"AB", "CDE"}},
        {"ABCDEF", {"AB", "EF", "CD"}},
        {"ABCDEFG", {"AB", "FG", "CDE"}},
        {"ABCDEFGH", {"AB", "GH", "CD", "EF"}},
        {"ABCDEFGHI", {"ABC", "GHI", "DEF"}},
        {"ABCDEFGHIJ", {"AB", "IJ", "CDE", "FGH"}},
        {"ABCDEFGHIJK", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tvk::game::fragments_of(c.word), c.fragments) << c.word;
        EXPECT_EQ(tvk::game::fragment_count(c.word.size()), static_cast<int>(c.fragments.size()))
            << c.word;
    }
}

// A good round to spoil one way at a time.
PuzzleRound good_round() {
    return {1,
            1,
            "FRUIT",
            {"APPLE", "LEMON", "BANANA", "CHERRY", "ORANGE", "APRICOT", "CLEMENTINE"},
            {"PEAR", "PLUM", "PEACH", "GRAPE", "MANGO", "MELON", "KIWI", "FIG", "LIME", "BERRY"}};
}

TEST(ContentTest, CheckRejectsRoundsThatWouldSpoilTheGame) {
    struct Case {
        const char* name;
        std::string clue;
        std::vector<std::string> words;
        std::string expected;  // part of the problem reported
        std::vector<std::string> others = good_round().others;
    };
    const std::vector<Case> cases = {
        {"short word",
         "FRUIT",
         {"FIG", "LEMON", "BANANA", "CHERRY", "ORANGE", "APRICOT", "STRAWBERRY"},
         "word 1 \"FIG\" has 3 letters"},
        {"long word",
         "FRUIT",
         {"APPLE", "LEMON", "BANANA", "CHERRY", "ORANGE", "APRICOT", "BLACKCURRANT"},
         "word 7 \"BLACKCURRANT\" has 12 letters"},
        {"lower case",
         "FRUIT",
         {"Apple", "LEMON", "BANANA", "CHERRY", "ORANGE", "APRICOT", "STRAWBERRY"},
         "word 1 \"Apple\" may only use the capital letters"},
        {"repeated word",
         "FRUIT",
         {"APPLE", "APPLE", "BANANA", "CHERRY", "ORANGE", "APRICOT", "STRAWBERRY"},
         "\"APPLE\" is an answer twice"},
        {"19 fragments",
         "FRUIT",
         {"APPLE", "LEMON", "BANANA", "CHERRY", "ORANGE", "APRICOT", "BLUEBERRY"},
         "the words give 19 fragments"},
        {"six words",
         "FRUIT",
         {"APPLE", "LEMON", "BANANA", "CHERRY", "ORANGE", "STRAWBERRY"},
         "6 words; a round needs exactly 7"},
        // TEAPOT is TE + OT + AP, but TEA + POT spells it too with fragments the
        // other two words need: picking those leaves the round unfinishable.
        {"answer from others' fragments",
         "THINGS",
         {"TEAPOT", "POTTERING", "TEASPOONS", "RUBY", "JADE", "OPAL", "ONYX"},
         "\"TEAPOT\" can also be assembled as TEA + POT, taking fragments that \"POTTERING\" and "
         "\"TEASPOONS\" need"},
        // ABCD's fragments come again in ABXY and ZZCD: found twice, counted twice.
        {"answer spelled twice",
         "THINGS",
         {"ABCD", "ABXY", "ZZCD", "MNOPQR", "STUVWX", "EFGHIJ", "KLMNOQR"},
         "\"ABCD\" can be assembled a second time from fragments of \"ABXY\" and \"ZZCD\""},
        {"over-long clue", "FRUIT THAT GROWS ON TREES IN WARM COUNTRIES", good_round().words,
         "the line \"FIND 7 FRUIT THAT GROWS ON TREES IN WARM COUNTRIES\" is"},
        {"clue in lower case", "Fruit", good_round().words, "the clue \"Fruit\" uses \"r\""},
        {"empty clue", "", good_round().words, "the clue is empty"},
        // STRAWBERRY is cut into ST, RY, RAW and BER: BER + RY is a fruit too, and
        // a player who offers it sees Check refuse a right answer.
        {"right answer refused",
         "FRUIT",
         {"APPLE", "LEMON", "BANANA", "CHERRY", "ORANGE", "APRICOT", "STRAWBERRY"},
         "\"BERRY\" belongs to \"FRUIT\" and the tiles spell it (BER + RY); Check would "
         "refuse a right answer"},
        {"no category list", "FRUIT", good_round().words, "no \"others:\" list", {}},
        {"answer among the others", "FRUIT", good_round().words,
         "\"APPLE\" is an answer; the others: list holds the words that are not",
         {"PEAR", "APPLE"}},
        {"other in lower case", "FRUIT", good_round().words,
         "the others: word \"pear\" is not a word of capitals A to Z", {"pear"}},
        {"other twice", "FRUIT", good_round().words, "\"PEAR\" is in the others: list twice",
         {"PEAR", "PLUM", "PEAR"}},
        // DAUGHTER gives DA, GRANDSON gives DS: DAD is a relative, and so are DADS.
        {"plural refused",
         "RELATIVES",
         {"AUNT", "UNCLE", "NIECE", "NEPHEW", "COUSIN", "DAUGHTER", "GRANDSON"},
         "\"DADS\", the plural of \"DAD\", belongs to \"RELATIVES\" and the tiles spell it "
         "(DA + DS)",
         {"DAD", "MUM"}},
        // ...and the plural of an answer is as right as the answer.
        {"plural of an answer refused",
         "FRUIT",
         {"APPLE", "LEMON", "BANANA", "CHERRY", "ORANGE", "APRICOT", "PLUMSTONES"},
         "\"APPLES\", the plural of \"APPLE\", belongs to \"FRUIT\" and the tiles spell it "
         "(AP + PL + ES)",
         {"PEAR"}},
    };
    const PlayFonts fonts;
    for (const Case& c : cases) {
        PuzzleRound round{1, 1, c.clue, c.words, c.others};
        std::vector<std::string> problems = check_round(round, fonts);
        std::string text = all_lines(problems);
        EXPECT_NE(text.find("round 1: " + c.expected), std::string::npos) << c.name << " gave:\n"
                                                                          << text;
    }
    EXPECT_TRUE(check_round(good_round(), fonts).empty())
        << all_lines(check_round(good_round(), fonts));
}

TEST(ContentTest, WordListEntriesAreReadAsTheTilesSpellThem) {
    const std::pair<const char*, const char*> cases[] = {
        {"lemon", "LEMON"},
        {"Lemon", "LEMON"},            // proper nouns stay, in capitals
        {"café", "CAFE"},              // accents go
        {"encyclopædia", "ENCYCLOPAEDIA"},
        {"Œdipus", "OEDIPUS"},
        {"lemon's", ""},               // possessives go: the plural is listed on its own
        {"o'clock", ""},
        {"x-ray", ""},
        {"3D", ""},
        {"caf\xC3", ""},              // a broken UTF-8 sequence
    };
    for (const auto& [entry, form] : cases) EXPECT_EQ(word_list_form(entry), form) << entry;

    tvk::testing_support::TempDir dir;
    const std::string path = dir.write("words", "lemon\nLemon\nlemon's\r\napple\n");
    std::vector<std::string> words;
    std::string error;
    ASSERT_TRUE(load_word_list(path, words, error)) << error;
    EXPECT_EQ(words, (std::vector<std::string>{"APPLE", "LEMON"}));
    EXPECT_FALSE(load_word_list(dir.file("missing"), words, error));
    EXPECT_NE(error.find("wbritish-large"), std::string::npos) << error;
}

TEST(ContentTest, DictionaryPassListsWhatTheTilesSpellBesidesTheAnswers) {
    PuzzleRound round = good_round();
    round.words[6] = "STRAWBERRY";  // ST, RY, RAW, BER
    // Tiles: AP PLE, LE MON, BA NA NA, CH RY ER, OR GE AN, AP OT RIC, ST RY RAW BER.
    const std::vector<std::string> word_list = {
        "APPLE",       // an answer: not listed
        "BANANABERRY", // five tiles: more than a player can pick
        "BERRY",       // BER + RY
        "CHAP",        // CH + AP
        "NANA",        // the two NA tiles
        "NANANA",      // needs a third NA
        "RAW",         // one tile
        "STRAWBERRY",  // an answer
        "ZEBRA",       // no Z
    };
    std::vector<std::string> listed;
    for (const SpelledWord& spelled : words_spelled(round, word_list)) {
        listed.push_back(spelled.word + " = " + spelled.assembled);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"BERRY = BER + RY", "CHAP = CH + AP",
                                                "NANA = NA + NA", "RAW = RAW"}));

    // Answers must be words of the (British) list.
    round.words[0] = "APPEL";
    EXPECT_EQ(check_answers_listed({round}, word_list),
              (std::vector<std::string>{
                  "round 1: \"APPEL\" is not in the word list; check its spelling (British)",
                  "round 1: \"LEMON\" is not in the word list; check its spelling (British)",
                  "round 1: \"BANANA\" is not in the word list; check its spelling (British)",
                  "round 1: \"CHERRY\" is not in the word list; check its spelling (British)",
                  "round 1: \"ORANGE\" is not in the word list; check its spelling (British)",
                  "round 1: \"APRICOT\" is not in the word list; check its spelling (British)"}));
}

TEST(ContentTest, DifficultyIsMeasuredByLengthAndCommonness) {
    tvk::testing_support::TempDir dir;
    dir.write("english-words.10", "apple\nlemon\n");
    dir.write("english-words.35", "apple\nkumquat\n");  // the smallest size counts
    dir.write("british-words.50", "yoghurt\n");
    dir.write("english-upper.20", "London\n");
    dir.write("american-words.10", "kumquat\n");       // not read
    CommonnessLevels levels;
    std::string error;
    ASSERT_TRUE(load_commonness(dir.path().string(), levels, error)) << error;
    EXPECT_EQ(commonness_of(levels, "APPLE"), 10);
    EXPECT_EQ(commonness_of(levels, "KUMQUAT"), 35);
    EXPECT_EQ(commonness_of(levels, "YOGHURT"), 50);
    EXPECT_EQ(commonness_of(levels, "LONDON"), 20);
    EXPECT_EQ(commonness_of(levels, "ZYZZYVA"), kUnlistedLevel);

    // Twenty rounds: the second block has rarer but shorter words.
    std::vector<PuzzleRound> rounds;
    for (int r = 1; r <= 20; ++r) {
        PuzzleRound round{r, r, "THINGS", {}, {}};
        round.words = r <= 10 ? std::vector<std::string>{"KUMQUAT", "LONDON"}
                              : std::vector<std::string>{"YOGHURT", "APPLE"};
        rounds.push_back(round);
    }
    const std::vector<DifficultyBlock> blocks = difficulty_by_block(rounds, levels);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].first_round, 1);
    EXPECT_EQ(blocks[0].last_round, 10);
    EXPECT_EQ(blocks[0].words, 20);
    EXPECT_DOUBLE_EQ(blocks[0].mean_length, 6.5);
    EXPECT_DOUBLE_EQ(blocks[0].mean_level, 27.5);
    EXPECT_EQ(blocks[0].common_words, 10);
    EXPECT_DOUBLE_EQ(blocks[1].mean_length, 6.0);
    EXPECT_DOUBLE_EQ(blocks[1].mean_level, 30.0);
    EXPECT_EQ(blocks[1].common_words, 10);
    EXPECT_EQ(check_difficulty_rises(blocks),
              (std::vector<std::string>{"rounds 11-20 are easier than rounds 1-10: answers of "
                                        "6.00 letters on average after 6.50"}));
    EXPECT_FALSE(load_commonness(dir.file("none"), levels, error));
}

TEST(ContentTest, ProgressLineHoldsOneDigitPerRound) {
    std::vector<double> progress(51, 0.0);
    progress[3] = 1;
    progress[50] = 1;
    const std::string line = tvk::game::progress_line(progress);
    EXPECT_EQ(line.find_first_not_of("0123456789abcdef"), std::string::npos) << line;
    const tvk::RtString digits = tvk::string_decrypt(tvk::game::kProgressKey, line.c_str());
    EXPECT_STREQ(digits.c_str(), ("0001" + std::string(46, '0') + "1").c_str());
    const auto back = tvk::game::progress_from_line(line);
    EXPECT_EQ(std::vector<double>(back.begin(), back.end()), progress);

    // A line of fewer digits leaves the rest 0; a character that is no digit reads as 0.
    const std::string short_line =
        tvk::string_encrypt(tvk::game::kProgressKey, "01x1").c_str();
    const auto partial = tvk::game::progress_from_line(short_line);
    EXPECT_EQ(partial[1], 1);
    EXPECT_EQ(partial[2], 0);
    EXPECT_EQ(partial[3], 1);
    EXPECT_EQ(partial[4], 0);
    EXPECT_EQ(partial[50], 0);
}

TEST(ContentTest, SharedFragmentsThatSwapFreelyAreAccepted) {
    // PEAR and PEACH share the opening PE; either copy serves either word, so the
    // round can be finished whichever is assembled first.
    PuzzleRound round = good_round();
    round.words[0] = "PEAR";
    round.words[1] = "PEACH";
    round.others = {"APPLE", "LEMON"};
    EXPECT_TRUE(check_solvable(round).empty()) << all_lines(check_solvable(round));
}

TEST(ContentTest, CheckSpansTheWholeGame) {
    std::vector<PuzzleRound> rounds = shipped_rounds();
    rounds[20].words[0] = rounds[3].words[0];  // same length, so still 20 fragments
    rounds.pop_back();
    std::string text = all_lines(check_rounds(rounds, PlayFonts{}));
    EXPECT_NE(text.find("exactly 50 rounds; the source has 49"), std::string::npos) << text;
    EXPECT_NE(text.find("round 21: \"" + rounds[3].words[0] + "\" is already an answer of round 4"),
              std::string::npos)
        << text;
}

TEST(ContentTest, SourceLayoutProblemsNameTheirLine) {
    PuzzleSource source = parse_puzzle_source(
        "# comment\n"
        "STRAY WORDS\n"
        "round 1: FRUIT\n"
        "  APPLE LEMON\n"
        "  BANANA\n"
        "round 3: BIRDS\n"
        "round x: NOTHING\n");
    ASSERT_EQ(source.rounds.size(), 2u);
    EXPECT_EQ(source.rounds[0].words, (std::vector<std::string>{"APPLE", "LEMON", "BANANA"}));
    EXPECT_EQ(source.rounds[1].number, 3);
    EXPECT_EQ(source.problems,
              (std::vector<std::string>{"line 2: words before the first \"round N: CLUE\" line",
                                        "line 6: round 3 where round 2 belongs",
                                        "line 7: \"round x: NOTHING\" has no round number"}));
}

TEST(ContentTest, TextsThatDoNotFitNameTheirPlace) {
    PuzzleRound round = good_round();
    round.words[6] = "STRAWBERRY";
    PlayFonts wide;
    wide.fragment.width['W'] = 50;  // "RAW" of STRAWBERRY no longer fits a tile
    wide.heading.width['Y'] = 130;  // nor "7. STRAWBERRY" the word list
    wide.unsolved.width['?'] = 40;  // nor its ten question marks
    std::string text = all_lines(check_round(round, wide));
    EXPECT_NE(text.find("the fragment \"RAW\" of \"STRAWBERRY\" is 87 pixels wide in mint.png"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("the word line \"7. STRAWBERRY\" is 315 pixels wide in gold.png"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("the word line \"7. ??????????\" is 429 pixels wide in mauve.png"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("four picked fragments can make"), std::string::npos) << text;

    PlayFonts missing;
    missing.find.inked['U'] = false;
    text = all_lines(check_round(round, missing));
    EXPECT_NE(text.find("the FIND font cyan.png has no glyph for \"U\""), std::string::npos)
        << text;
}

// A 24-bit BMP font of 16 by 8 cells of 8 by 8 pixels: black is transparent (the
// runtime's font colour key) and each listed glyph is inked in white over the
// columns given.
std::string font_bmp(const std::vector<std::pair<int, std::pair<int, int>>>& glyphs) {
    const int width = 128, height = 64, row_bytes = width * 3;
    std::vector<uint8_t> pixels(static_cast<size_t>(row_bytes) * height, 0);
    for (const auto& [code, columns] : glyphs) {
        for (int x = columns.first; x <= columns.second; ++x) {
            for (int y = 2; y < 6; ++y) {
                int px = (code % 16) * 8 + x;
                int py = (code / 16) * 8 + y;
                int stored_row = height - 1 - py;  // bottom-up
                for (int b = 0; b < 3; ++b) pixels[stored_row * row_bytes + px * 3 + b] = 255;
            }
        }
    }
    auto le = [](std::string& out, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
    };
    std::string file = "BM";
    le(file, 54 + static_cast<uint32_t>(pixels.size()), 4);
    le(file, 0, 4);
    le(file, 54, 4);
    le(file, 40, 4);
    le(file, width, 4);
    le(file, height, 4);
    le(file, 1, 2);
    le(file, 24, 2);
    le(file, 0, 4);
    le(file, static_cast<uint32_t>(pixels.size()), 4);
    le(file, 2835, 4);
    le(file, 2835, 4);
    le(file, 0, 4);
    le(file, 0, 4);
    file.append(reinterpret_cast<const char*>(pixels.data()), pixels.size());
    return file;
}

TEST(ContentTest, FontImagesAreMeasuredAsTheRuntimeMeasuresThem) {
    tvk::testing_support::TempDir dir;
    // "A" inked in columns 1..3: three columns plus one of spacing. "W" reaches the
    // cell's right edge: no spacing. "j" sets the width of the space.
    dir.write("mint.png", font_bmp({{'A', {1, 3}}, {'W', {0, 7}}, {'j', {2, 6}}}));
    FontMetrics font;
    std::string error;
    ASSERT_TRUE(load_play_font(dir.path().string(), kFragmentFont, font, error)) << error;
    EXPECT_EQ(font.measured_from, dir.file("mint.png"));
    EXPECT_EQ(font.text_width("A"), 4);
    EXPECT_EQ(font.text_width("W"), 8);
    EXPECT_EQ(font.text_width(" "), 6);
    EXPECT_EQ(font.text_width("B"), 8);  // no ink: a whole cell of nothing
    EXPECT_FALSE(font.draws_all("AB", nullptr));
    EXPECT_TRUE(font.draws_all("A W", nullptr));
    EXPECT_EQ(font.text_width("\xC1"), 4);  // a 128-glyph font measures 193 like 65

    // Without an image the placeholder table stands in; a broken image is an error.
    ASSERT_TRUE(load_play_font(dir.path().string(), kFindFont, font, error));
    EXPECT_TRUE(font.measured_from.empty());
    EXPECT_GT(font.text_width("FIND"), 0);
    dir.write("cyan.png", "not an image");
    EXPECT_FALSE(load_play_font(dir.path().string(), kFindFont, font, error));
    EXPECT_NE(error.find("cyan.png"), std::string::npos) << error;
}

// Runs the content tool and returns what it printed; its exit status in *status.
#ifdef _WIN32
std::string run_tool(const std::string& arguments, int* status) {
    return tvk::testing_support::run_command(std::string(SPLITVERSE_CONTENT) + " " + arguments, status);
}
#else
std::string run_tool(const std::string& arguments, int* status) {
    std::string output;
    FILE* pipe = popen((std::string(SPLITVERSE_CONTENT) + " " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return "<cannot run>";
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    *status = WEXITSTATUS(pclose(pipe));
    return output;
}
#endif

TEST(ContentTest, ToolBuildsChecksAndDecodes) {
    tvk::testing_support::TempDir dir;
    int status = -1;
    const std::string built = dir.file("gamedata.txt");
    std::string out =
        run_tool("build " + kRoundsSource + " " + built + " --fonts " + kMedia, &status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_EQ(read_text(built), read_text(kPuzzleFile));

    out = run_tool("decode " + built, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, all_lines(puzzle_lines(shipped_rounds())));

    // A failing check names the round and writes nothing.
    std::string source = read_text(kRoundsSource);
    source.replace(source.find("APPLE"), 5, "APPLe");
    const std::string bad = dir.write("bad.txt", source);
    const std::string not_built = dir.file("not-built.txt");
    out = run_tool("build " + bad + " " + not_built, &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find(bad + ": round 1: word 1 \"APPLe\" may only use the capital letters A to Z"),
              std::string::npos)
        << out;
    EXPECT_FALSE(std::ifstream(not_built).good());
    run_tool("check " + bad, &status);
    EXPECT_EQ(status, 1);

    // The check lists per round what the tiles spell besides the answers.
    out = run_tool("check " + kRoundsSource + " --fonts " + kMedia, &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("  round 1 " + shipped_rounds()[0].clue + ":"), std::string::npos) << out;
    EXPECT_NE(out.find("rounds 41-50: mean length"), std::string::npos) << out;
    out = run_tool("check " + kRoundsSource + " --words " + dir.file("no-words"), &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("wbritish-large"), std::string::npos) << out;

    // The progress file's line, read back by the game's own format.
    std::vector<double> progress(51, 0.0);
    progress[3] = progress[50] = 1;
    const std::string progress_file =
        dir.write("moredata.txt", tvk::game::progress_line(progress) + "\r\n");
    out = run_tool("progress " + progress_file, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, "completed: 3 50\n");
    run_tool("frobnicate", &status);
    EXPECT_EQ(status, 2);
}

}  // namespace
