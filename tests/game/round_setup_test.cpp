// The round's logic on its own: cutting words into fragments, dealing and
// shuffling them, the play input on a given mouse sample, the puzzle file and the
// program's settings and constants. No window is needed: with no input object the
// waits for the button's release end at once, and with no sound device sounds are
// silently not played.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/deal_file.h"
#include "game/fragment_cuts.h"
#include "game/game_fixture.h"
#include "game/game_state.h"
#include "game/puzzle_file.h"
#include "game/screens.h"
#include "runtime/core/entry.h"
#include "runtime/files/platform_info.h"
#include "runtime/value/program_settings.h"
#include "runtime/value/string_library.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk::game_test {
namespace {

namespace fs = std::filesystem;
using game::GameState;
using game::game_state;

std::vector<std::string> cut(const char* word) {
    RtString pieces[4];
    const int32_t n = game::cut_word(word, pieces);
    std::vector<std::string> out;
    for (int32_t i = 0; i < n; ++i) out.push_back(pieces[i].c_str());
    return out;
}

TEST(FragmentCuts, OpeningEndingThenMiddlePiecesByLength) {
    const struct {
        const char* word;
        std::vector<std::string> pieces;
    } cases[] = {
        {"ABCD", {"AB", "CD"}},
        {"ABCDE", {"AB", "CDE"}},
        {"ABCDEF", {"AB", "EF", "CD"}},
        {"ABCDEFG", {"AB", "FG", "CDE"}},
        {"ABCDEFGH", {"AB", "GH", "CD", "EF"}},
        {"ABCDEFGHI", {"ABC", "GHI", "DEF"}},
        {"ABCDEFGHIJ", {"AB", "IJ", "CDE", "FGH"}},
        {"ABC", {}},
        {"ABCDEFGHIJK", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(cut(c.word), c.pieces) << c.word;
}

// The puzzle table with the test's two rounds, and the tile grid of the desktop.
class RoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameState& g = game_state();
        game::reset_game_state(g);
        const Round* rounds[] = {&kRoundOne, &kRoundTwo};
        for (int32_t r = 1; r <= 2; ++r) {
            g.puzzle_table(r, 0) = rounds[r - 1]->clue.c_str();
            for (int32_t w = 1; w <= 7; ++w) g.puzzle_table(r, w) = rounds[r - 1]->words[w - 1].c_str();
        }
        for (int32_t c = 1; c <= 5; ++c) {
            for (int32_t k = 0; k <= 3; ++k) {
                g.tile_positions(c + 5 * k, 1) = 94 * c - 84;
                g.tile_positions(c + 5 * k, 2) = 360 + 55 * k;
            }
        }
        g.screen_state = game::kStatePlaying;
    }

    static std::vector<std::string> tiles() {
        std::vector<std::string> t;
        for (int32_t i = 1; i <= 20; ++i) t.push_back(game_state().tiles(i).c_str());
        return t;
    }
    // One frame of input with the left button down at (x, y).
    static void press_at(double x, double y) {
        GameState& g = game_state();
        g.mouse_x = x;
        g.mouse_y = y;
        g.mouse_left = 1;
        game::play_input();
    }
    static void press_tile(int32_t i) {
        press_at(game_state().tile_positions(i, 1) + 1, game_state().tile_positions(i, 2) + 44);
    }
    static void press_check() { press_at(365, 619); }
};

TEST_F(RoundTest, SetUpDealsTheTwentyFragmentsShuffledAndHidesTheWords) {
    GameState& g = game_state();
    g.chosen_round = 1;
    std::multiset<std::string> expected;
    std::vector<std::string> unshuffled;
    for (const std::string& word : kRoundOne.words) {
        for (const std::string& f : cut(word.c_str())) {
            expected.insert(f);
            unshuffled.push_back(f);
        }
    }
    std::set<double> backgrounds;
    bool reshuffled = false;
    for (int run = 0; run < 30; ++run) {
        game::setup_round();
        const std::vector<std::string> dealt = tiles();
        EXPECT_EQ(std::multiset<std::string>(dealt.begin(), dealt.end()), expected);
        reshuffled = reshuffled || dealt != unshuffled;
        backgrounds.insert(g.background);
    }
    EXPECT_TRUE(reshuffled);
    EXPECT_GE(*backgrounds.begin(), 1);
    EXPECT_LE(*backgrounds.rbegin(), 6);
    EXPECT_GT(backgrounds.size(), 1u);
    for (int32_t w = 1; w <= 7; ++w) {
        EXPECT_STREQ(g.answer_words(w).c_str(), kRoundOne.words[w - 1].c_str());
        EXPECT_EQ(g.word_display(w).length, g.answer_words(w).length);
        EXPECT_EQ(string_find(g.word_display(w), "?", 0), 0);
        EXPECT_EQ(g.word_font(w), 6);
    }
    EXPECT_EQ(g.found_count, 0);
    EXPECT_EQ(g.picked_count, 0);
}

TEST_F(RoundTest, PicksAtTheTileEdgesAndNothingFromEmptyTilesOrGaps) {
    GameState& g = game_state();
    g.chosen_round = 1;
    game::setup_round();
    const std::string first = g.tiles(7).c_str();
    press_tile(7);  // the tile's bottom-left inner corner
    EXPECT_EQ(g.picked_count, 1);
    EXPECT_STREQ(g.picked_texts(0).c_str(), first.c_str());
    EXPECT_TRUE(g.tiles(7).empty());
    press_tile(7);  // now empty
    EXPECT_EQ(g.picked_count, 1);
    press_at(94 * 2 - 84 + 84, 400);  // the gap right of column 2
    press_at(300, 360 + 45);          // the gap below row 0
    EXPECT_EQ(g.picked_count, 1);
    g.mouse_x = g.tile_positions(8, 1) + 40;
    g.mouse_y = g.tile_positions(8, 2) + 20;
    g.mouse_left = 0;
    game::play_input();  // the pointer over a tile without the button
    EXPECT_EQ(g.picked_count, 1);
}

TEST_F(RoundTest, CheckWithNothingPickedChangesNothingEvenInARoundWithoutWords) {
    GameState& g = game_state();
    for (double round : {1.0, 3.0}) {  // round 3 has empty words, as without a puzzle file
        g.chosen_round = round;
        g.screen_state = game::kStatePlaying;
        game::setup_round();
        const std::vector<std::string> before = tiles();
        press_check();
        EXPECT_EQ(g.found_count, 0) << round;
        EXPECT_EQ(g.screen_state, game::kStatePlaying) << round;
        EXPECT_EQ(g.progress(static_cast<int32_t>(round)), 0) << round;
        EXPECT_EQ(tiles(), before) << round;
    }
}

TEST_F(RoundTest, TheBackButtonEndsTheRoundUnrecorded) {
    GameState& g = game_state();
    g.chosen_round = 2;
    game::setup_round();
    press_at(49, 49);
    EXPECT_EQ(g.found_count, 7);
    EXPECT_EQ(g.screen_state, game::kStateRoundSelect);
    EXPECT_EQ(g.progress(2), 0);
}

// The test hook of the shipped-game runs: the points it writes, clicked in turn,
// assemble every answer. Round 2 has RY twice (BLACKBERRY, MULBERRY): each word is
// given a tile of its own.
TEST_F(RoundTest, TheDealFileGivesThePointsThatAssembleEachAnswer) {
    testing_support::TempDir dir;
    const std::string deal = dir.file("deal.txt");
    GameState& g = game_state();
    g.chosen_round = 2;
    game::setup_round();
    game::write_deal_file();  // the variable is not set: nothing is written
    EXPECT_FALSE(fs::exists(deal));

    setenv(game::kDealFileVariable, deal.c_str(), 1);
    game::write_deal_file();
    unsetenv(game::kDealFileVariable);
    std::ifstream in(deal);
    std::string line;
    int32_t words = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string word;
        fields >> word;
        EXPECT_EQ(word, kRoundTwo.words[static_cast<size_t>(words)]);
        double x = 0, y = 0;
        while (fields >> x >> y) press_at(x, y);
        EXPECT_STREQ(g.picked_texts(0).c_str(), word.c_str());
        press_check();
        EXPECT_EQ(g.found_count, ++words) << line;
    }
    EXPECT_EQ(words, 7);
    EXPECT_EQ(g.screen_state, game::kStateRoundWon);
    EXPECT_FALSE(fs::exists(deal + ".new"));
}

TEST(PuzzleFile, ReadsCluesAndWordsAndTakesAShortFileAsEmptyLines) {
    testing_support::TempDir dir;
    const fs::path old_cwd = fs::current_path();
    fs::current_path(dir.path());
    GameState& g = game_state();

    game::reset_game_state(g);
    game::load_puzzles();  // no file
    EXPECT_TRUE(g.puzzle_table(1, 0).empty());
    EXPECT_TRUE(g.puzzle_table(50, 7).empty());

    // Two rounds only, in upper-case hex, each line ended by a bare line feed.
    std::istringstream lines(puzzle_file_text({kRoundOne, kRoundTwo}));
    std::string line, text;
    for (int n = 0; n < 16 && std::getline(lines, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (char& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        text += line + "\n";
    }
    std::ofstream(dir.file("gamedata.txt"), std::ios::binary) << text;
    game::reset_game_state(g);
    game::load_puzzles();
    EXPECT_STREQ(g.puzzle_table(1, 0).c_str(), kRoundOne.clue.c_str());
    EXPECT_STREQ(g.puzzle_table(1, 7).c_str(), "KIWI");
    EXPECT_STREQ(g.puzzle_table(2, 1).c_str(), "BLACKBERRY");
    EXPECT_TRUE(g.puzzle_table(3, 0).empty());
    fs::current_path(old_cwd);
}

TEST(PuzzleFile, TheShippedRoundsAllCutIntoTwentyFragments) {
    const fs::path media = fs::path(TAVRICK_TEST_SOURCE_DIR) / ".." / "game" / "media";
    if (!fs::exists(media / "gamedata.txt")) GTEST_SKIP() << "no puzzle file shipped";
    const fs::path old_cwd = fs::current_path();
    fs::current_path(media);
    GameState& g = game_state();
    game::reset_game_state(g);
    game::load_puzzles();
    fs::current_path(old_cwd);
    for (int32_t r = 1; r <= 50; ++r) {
        EXPECT_FALSE(g.puzzle_table(r, 0).empty()) << r;
        int32_t fragments = 0;
        for (int32_t w = 1; w <= 7; ++w) {
            RtString pieces[4];
            fragments += game::cut_word(g.puzzle_table(r, w), pieces);
        }
        EXPECT_EQ(fragments, 20) << "round " << r;
    }
}

TEST(ProgramSettings, PortraitWindowAndTheThreeConstants) {
    program_settings();
    const ProgramSettings& s = runtime_settings();
    EXPECT_EQ(s.screen_width, 480);
    EXPECT_EQ(s.screen_height, 640);
    EXPECT_EQ(s.fullscreen, 0);
    EXPECT_EQ(s.hide_system_pointer, 1);
    EXPECT_EQ(s.frame_rate, 60);
    EXPECT_EQ(s.debug_mode, 0);
    EXPECT_EQ(s.multisample_samples, 0);
    EXPECT_STREQ(s.application_name.c_str(), "SplitVerse");

    RtString compiled = "compiled", host = "hostid", version = "version";
    EXPECT_TRUE(std::regex_match(platform_info(compiled).c_str(),
                                 std::regex(R"([A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}-[0-9]{2}:[0-9]{2}:[0-9]{2})")))
        << platform_info(compiled).c_str();
    EXPECT_TRUE(std::regex_match(platform_info(host).c_str(), std::regex("[0-9a-f]{8}")));
    EXPECT_STREQ(platform_info(version).c_str(), "000.001");
}

}  // namespace
}  // namespace tvk::game_test
