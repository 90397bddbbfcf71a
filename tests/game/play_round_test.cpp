// A whole round played through the real event queue, the real drawing and real
// files: options screen, round selection, round 1 solved word by word, the banner,
// the progress file; then a round left by the back button and the reset.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/fragment_cuts.h"
#include "game/game_fixture.h"
#include "runtime/audio/sound_commands.h"
#include "runtime/value/string_library.h"

namespace tvk::game_test {
namespace {

using game::GameState;
using game::game_state;

// The tiles hold exactly the round's 20 fragments.
bool dealt(const Round& round) {
    GameState& g = game_state();
    std::multiset<std::string> expected, on_tiles;
    for (const std::string& word : round.words) {
        for (const std::string& f : fragments_in_order(word)) expected.insert(f);
    }
    for (int32_t i = 1; i <= game::kTileCount; ++i) on_tiles.insert(g.tiles(i).c_str());
    return expected == on_tiles;
}

int32_t tile_of(const std::string& fragment) {
    GameState& g = game_state();
    for (int32_t i = 1; i <= game::kTileCount; ++i) {
        if (g.tiles(i) == fragment.c_str()) return i;
    }
    return 0;
}

// Sound n is the one playing among the sounds a check or an undo can play.
void expect_sound(int n) {
    for (int s = 2; s <= 5; ++s) {
        EXPECT_EQ(sound_playing(s * 256), s == n ? 1 : 0) << "sound " << s;
    }
}

constexpr int32_t kCheckX = 410, kCheckY = 600;
constexpr int32_t kUndoX = 60, kUndoY = 600;

TEST(PlayRound, FromTheOptionsScreenToAWonRoundAndBack) {
    std::string why;
    ASSERT_TRUE(start_runtime_once(why)) << why;
    GameFolder folder;
    ScriptedPlayer player;
    GameState& g = game_state();

    player.wait_until("options screen", [&] { return g.screen_state == 1 && player.frames() > 2; });
    player.click(150, 390, "play area");
    player.wait_until("round selection", [&] { return g.screen_state == 2; });
    player.click(60, 145, "round 1");
    player.wait_until("round 1 dealt", [&] { return g.screen_state == 3 && dealt(kRoundOne); });
    player.then("round 1 set up", [&] {
        EXPECT_EQ(g.chosen_round, 1);
        EXPECT_EQ(sound_playing(6 * 256), 1) << "choosing a round plays sound 6";
        for (int32_t w = 1; w <= 7; ++w) {
            EXPECT_STREQ(g.word_display(w).c_str(),
                         std::string(kRoundOne.words[w - 1].size(), '?').c_str());
            EXPECT_EQ(g.word_font(w), 6);
        }
        EXPECT_EQ(g.found_count, 0);
    });

    // The right fragments in a wrong order: sound 3, and they go back to their tiles.
    int32_t mon = 0, le = 0;
    player.then("where MON and LE lie", [&] {
        mon = tile_of("MON");
        le = tile_of("LE");
    });
    player.click_fragment("MON");
    player.click_fragment("LE");
    player.then("two picks", [&] {
        EXPECT_EQ(g.picked_count, 2);
        EXPECT_STREQ(g.picked_texts(0).c_str(), "MONLE");
        EXPECT_TRUE(g.tiles(mon).empty());
        EXPECT_TRUE(g.tiles(le).empty());
        stop_all_sounds();
    });
    player.click(kCheckX, kCheckY, "check MONLE");
    player.then("wrong word returned", [&] {
        expect_sound(3);
        EXPECT_EQ(g.picked_count, 0);
        EXPECT_STREQ(g.picked_texts(0).c_str(), "");
        EXPECT_STREQ(g.tiles(mon).c_str(), "MON");
        EXPECT_STREQ(g.tiles(le).c_str(), "LE");
        EXPECT_EQ(g.found_count, 0);
    });

    // Undo returns the picks too.
    int32_t pl = 0;
    player.then("where PL lies", [&] { pl = tile_of("PL"); });
    player.click_fragment("PL");
    player.click_fragment("UM");
    player.then("before undo", [&] {
        EXPECT_STREQ(g.picked_texts(0).c_str(), "PLUM");
        stop_all_sounds();
    });
    player.click(kUndoX, kUndoY, "undo");
    player.then("undone", [&] {
        expect_sound(3);
        EXPECT_EQ(g.picked_count, 0);
        EXPECT_STREQ(g.tiles(pl).c_str(), "PL");
        EXPECT_EQ(g.found_count, 0);
    });

    // Four picks make the longest word; a fifth pick is refused.
    for (const std::string& f : fragments_in_order("STRAWBERRY")) player.click_fragment(f);
    int32_t ki = 0;
    player.then("where KI lies", [&] { ki = tile_of("KI"); });
    player.click_fragment("KI");
    player.then("fifth pick refused", [&] {
        EXPECT_EQ(g.picked_count, 4);
        EXPECT_STREQ(g.tiles(ki).c_str(), "KI");
        EXPECT_STREQ(g.picked_texts(0).c_str(), "STRAWBERRY");
    });

    // Every word, each confirmed by the check button.
    int64_t last_check_frame = 0;
    for (size_t w = 0; w < 7; ++w) {
        const std::string& word = kRoundOne.words[w];
        if (w > 0) {
            for (const std::string& f : fragments_in_order(word)) player.click_fragment(f);
        }
        player.then("before checking " + word, [&] { stop_all_sounds(); });
        player.press(kCheckX, kCheckY, "check " + word);
        player.then("checked " + word, [&, w, word] {
            EXPECT_STREQ(g.word_display(static_cast<int32_t>(w + 1)).c_str(), word.c_str());
            EXPECT_EQ(g.word_font(static_cast<int32_t>(w + 1)), 2);
            EXPECT_EQ(g.found_count, static_cast<double>(w + 1));
            EXPECT_EQ(g.picked_count, 0);
            expect_sound(w < 6 ? 4 : 5);
            last_check_frame = player.frames();
        });
        player.release();
    }

    // The banner: the progress is saved first, then the banner grows, shrinks and stays.
    player.wait_until("banner showing",
                      [&] { return g.screen_state == 5 && player.frames() > last_check_frame + 5; });
    player.then("saved before the banner", [&] {
        const std::string digits = decipher_progress(folder.read_media("moredata.txt"));
        EXPECT_EQ(digits, "01" + std::string(49, '0'));
    });
    player.wait_until("back to round selection", [&] { return g.screen_state == 2; });
    std::string saved;
    player.then("round 1 recorded", [&] {
        const int64_t banner_frames = player.frames() - last_check_frame;
        EXPECT_GE(banner_frames, 38 + 13 + 100);
        EXPECT_LE(banner_frames, 38 + 13 + 100 + 4);
        EXPECT_EQ(g.progress(1), 1);
        saved = folder.read_media("moredata.txt");
        EXPECT_EQ(saved.substr(saved.size() - 2), "\r\n");
        const std::string digits = decipher_progress(saved);
        ASSERT_EQ(digits.size(), 51u);
        for (size_t i = 0; i < digits.size(); ++i) EXPECT_EQ(digits[i], i == 1 ? '1' : '0') << i;
    });

    // The back button leaves a round without recording it.
    player.click(150, 145, "round 2");
    player.wait_until("round 2 dealt", [&] { return g.screen_state == 3 && dealt(kRoundTwo); });
    player.click_fragment("BL");
    player.click(25, 25, "back from round 2");
    player.wait_until("round selection again", [&] { return g.screen_state == 2; });
    player.then("round 2 not recorded", [&] {
        EXPECT_EQ(g.progress(2), 0);
        EXPECT_EQ(g.progress(1), 1);
        EXPECT_EQ(folder.read_media("moredata.txt"), saved);
    });

    // Back to the options screen, and the reset: markers go, the file stays.
    player.click(25, 25, "back to options");
    player.wait_until("options screen again", [&] { return g.screen_state == 1; });
    player.click(340, 370, "reset area");
    player.wait_until("round selection after reset", [&] { return g.screen_state == 2; });
    player.then("progress cleared in memory only", [&] {
        for (int32_t r = 1; r <= 50; ++r) EXPECT_EQ(g.progress(r), 0) << r;
        EXPECT_EQ(folder.read_media("moredata.txt"), saved);
    });

    EXPECT_TRUE(player.play()) << "stuck at: " << player.stuck_at();
}

}  // namespace
}  // namespace tvk::game_test
