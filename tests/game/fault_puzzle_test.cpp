// A puzzle file of garbage: every line is deciphered as it is and the game goes on
// with whatever texts come out. Words that are not 4 to 10 characters long give no
// fragments, so such a round cannot be solved, but the game still runs: the round
// selection, a round's set-up, picking, checking and undoing, and the way back all
// work, and the progress file is neither lost nor rewritten. A progress file of
// garbage reads as digits and is written whole again.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <random>
#include <set>
#include <tuple>
#include <string>
#include <vector>

#include "game/fragment_cuts.h"
#include "game/game_fixture.h"
#include "game/game_state.h"
#include "game/progress_file.h"
#include "runtime/value/string_codings.h"

namespace tvk::game_test {
namespace {

namespace fs = std::filesystem;
using game::GameState;
using game::game_state;

struct Garbage {
    const char* name;
    std::string (*make)(std::mt19937&);
};

// How the test names the kind of garbage.
void PrintTo(const Garbage& garbage, std::ostream* out) { *out << garbage.name; }

std::string random_bytes(std::mt19937& random, size_t n) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes;
    for (size_t i = 0; i < n; ++i) bytes += static_cast<char>(byte(random));
    return bytes;
}

const Garbage kGarbage[] = {
    // Bytes of every value, line feeds and zero bytes among them.
    {"Binary", [](std::mt19937& r) { return random_bytes(r, 20000); }},
    // Lines that are not hexadecimal at all, of odd lengths, and lines far over 1024
    // bytes; the last one has no line feed.
    {"TextLines",
     [](std::mt19937& r) {
         std::string text;
         std::uniform_int_distribution<int> printable(32, 126), length(0, 40);
         for (int line = 0; line < 420; ++line) {
             const int n = line % 50 == 7 ? 3000 : length(r);
             for (int i = 0; i < n; ++i) text += static_cast<char>(printable(r));
             if (line < 419) text += line % 3 ? "\r\n" : "\n";
         }
         return text;
     }},
    // Hexadecimal lines of the right form that decipher to random bytes of random
    // lengths, some to words of 4 to 10 characters.
    {"HexLines",
     [](std::mt19937& r) {
         std::string text;
         std::uniform_int_distribution<size_t> length(1, 24);
         for (int line = 0; line < 400; ++line) {
             const std::string bytes = random_bytes(r, length(r));
             text += string_hex_encode(bytes.data(),
                                       static_cast<uint32_t>(bytes.size()), line % 2 == 0)
                         .c_str();
             text += "\r\n";
         }
         return text;
     }},
    // A file that stops in the middle of round 5's clue.
    {"CutShort",
     [](std::mt19937&) {
         const std::string good = puzzle_file_text({kRoundOne, kRoundTwo, kRoundOne, kRoundTwo, kRoundOne});
         return good.substr(0, 114 * 32 + 20);
     }},
};

// The round's own words are dealt: each of their fragments (the first 20) lies on a
// tile. Tiles beyond those fragments keep what they held before, as the set-up
// leaves them; valid puzzle data fills all 20.
void expect_tiles_from_the_answer_words(const GameState& g) {
    std::multiset<std::string> on_tiles;
    for (int32_t i = 1; i <= game::kTileCount; ++i) on_tiles.insert(g.tiles(i).c_str());
    size_t dealt = 0;
    for (int32_t w = 1; w <= game::kWordsPerRound; ++w) {
        RtString pieces[4];
        const int32_t n = game::cut_word(g.answer_words(w), pieces);
        for (int32_t p = 0; p < n && dealt < game::kTileCount; ++p, ++dealt) {
            const auto at = on_tiles.find(pieces[p].c_str());
            ASSERT_NE(at, on_tiles.end()) << "word " << w << " fragment " << p;
            on_tiles.erase(at);
        }
    }
}

class GarbagePuzzleTest : public ::testing::TestWithParam<Garbage> {};

TEST_P(GarbagePuzzleTest, GameRunsAndKeepsTheProgressFile) {
    std::string why;
    ASSERT_TRUE(start_runtime_once(why)) << why;
    GameFolder folder;
    std::mt19937 random(7);
    write_file(folder.media() / game::kPuzzleFile, GetParam().make(random));
    const std::string progress =
        std::string(string_encrypt(game::kProgressKey, "0001").c_str()) + "\r\n";
    write_file(folder.media() / game::kProgressFile, progress);

    ScriptedPlayer player;
    GameState& g = game_state();
    int64_t chosen_at = 0;
    player.wait_until("options screen", [&] { return g.screen_state == 1 && player.frames() > 2; });
    player.then("progress read", [&] { EXPECT_EQ(g.progress(3), 1); });
    player.click(150, 390, "play area");
    player.wait_until("round selection", [&] { return g.screen_state == 2; });
    // Round 1 (top left) and round 50 (bottom right), each played a little and left.
    for (const auto& [x, y, round] : {std::tuple{60, 145, 1}, std::tuple{410, 600, 50}}) {
        const std::string name = "round " + std::to_string(round);
        player.click(x, y, name);
        player.wait_until(name + " set up", [&, round] {
            return g.screen_state == 3 && g.chosen_round == round;
        });
        // The set-up follows the frame that chose the round: look a frame later.
        player.then(name + " chosen", [&] { chosen_at = player.frames(); });
        player.wait_until(name + " next frame", [&] { return player.frames() > chosen_at + 1; });
        player.then(name + " dealt from its words", [&] { expect_tiles_from_the_answer_words(g); });
        player.click(50, 380, "tile 1");
        player.click(144, 380, "tile 2");
        player.click(410, 600, "check");
        player.click(238, 435, "tile 8");
        player.click(60, 600, "undo");
        player.then(name + " nothing left picked", [&] { EXPECT_EQ(g.picked_count, 0); });
        player.click(25, 25, "back from " + name);
        player.wait_until("round selection after " + name, [&] { return g.screen_state == 2; });
    }
    player.click(25, 25, "back to options");
    player.wait_until("options screen again", [&] { return g.screen_state == 1; });

    EXPECT_TRUE(player.play()) << "stuck at: " << player.stuck_at();
    EXPECT_EQ(folder.read_media(game::kProgressFile), progress);
}

// A progress file of garbage reads as some digit (0 to 9) for every round, never
// fails, and the next save writes a whole line of those digits again.
using GarbageProgressFile = ProgressFolderTest;

TEST_F(GarbageProgressFile, ReadsAsDigitsAndIsRewrittenWhole) {
    std::mt19937 random(11);
    for (int attempt = 0; attempt < 50; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        std::string bytes = random_bytes(random, 1 + attempt * 7);
        if (attempt % 2) bytes = string_hex_encode(bytes.data(), static_cast<uint32_t>(bytes.size()), false).c_str();
        write_file(game::kProgressFile, bytes);
        game::reset_game_state(game_state());
        game::load_progress();
        for (int32_t r = 0; r <= 50; ++r) {
            const double v = game_state().progress(r);
            ASSERT_TRUE(v >= 0 && v <= 9 && v == static_cast<int>(v)) << "round " << r << ": " << v;
        }
        game::save_progress();
        const std::string digits = decipher_progress(read_file(game::kProgressFile));
        ASSERT_EQ(digits.size(), 51u);
        for (int32_t r = 0; r <= 50; ++r) EXPECT_EQ(digits[r] - '0', game_state().progress(r)) << r;
    }
}

INSTANTIATE_TEST_SUITE_P(PuzzleFile, GarbagePuzzleTest, ::testing::ValuesIn(kGarbage),
                         [](const ::testing::TestParamInfo<Garbage>& info) { return info.param.name; });

}  // namespace
}  // namespace tvk::game_test
