// The screens drawn for real on a headless context, missing media, the options
// screen's sound switch and information page played through the event queue, the
// assembly strip's shake, and a tap on every button of every screen.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "game/game_fixture.h"
#include "game/game_state.h"
#include "game/media_table.h"
#include "game/screens.h"
#include "runtime/audio/music.h"
#include "runtime/audio/sound_commands.h"
#include "runtime/files/file_system.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/draw_commands.h"
#include "runtime/gfx/font_table.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/value/string_library.h"

namespace tvk::game_test {
namespace {

namespace fs = std::filesystem;
using game::GameState;
using game::game_state;

// The drawn frame, read back before any flip: packed colours, row 0 at the top.
std::vector<uint32_t> grab_frame() {
    flush_draw_batch();
    glFinish();
    std::vector<uint32_t> pixels(480 * 640);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 480, 640, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<uint32_t> top_down(pixels.size());
    for (int y = 0; y < 640; ++y) {
        for (int x = 0; x < 480; ++x) top_down[y * 480 + x] = pixels[(639 - y) * 480 + x] & 0xFFFFFF;
    }
    return top_down;
}

struct Box {
    int x0, y0, x1, y1;  // inclusive
    bool empty() const { return x1 < x0; }
};

// The bounds of the pixels that differ between two frames inside a region.
Box changed_pixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int rx0, int ry0,
                   int rx1, int ry1) {
    Box box{480, 640, -1, -1};
    for (int y = ry0; y <= ry1; ++y) {
        for (int x = rx0; x <= rx1; ++x) {
            if (a[y * 480 + x] == b[y * 480 + x]) continue;
            box.x0 = std::min(box.x0, x);
            box.y0 = std::min(box.y0, y);
            box.x1 = std::max(box.x1, x);
            box.y1 = std::max(box.y1, y);
        }
    }
    return box;
}

class GameScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(start_runtime_once(why)) << why;
    }

    // Round 1 dealt on the desktop layout, the media loaded from the folder.
    static void prepare_round() {
        GameState& g = game_state();
        game::reset_game_state(g);
        set_current_directory("Media");
        game::load_media();
        for (int32_t c = 1; c <= 5; ++c) {
            for (int32_t k = 0; k <= 3; ++k) {
                g.tile_positions(c + 5 * k, 1) = 94 * c - 84;
                g.tile_positions(c + 5 * k, 2) = 360 + 55 * k;
            }
        }
        g.puzzle_table(1, 0) = kRoundOne.clue.c_str();
        for (int32_t w = 1; w <= 7; ++w) g.puzzle_table(1, w) = kRoundOne.words[w - 1].c_str();
        g.chosen_round = 1;
        game::setup_round();
        set_alpha_mode(-1);
    }

    static std::vector<uint32_t> drawn_play_screen() {
        glClear(GL_COLOR_BUFFER_BIT);
        game::draw_play_screen();
        return grab_frame();
    }

    // One frame of play input with the left button down at (x, y).
    static void press_in_frame(int32_t x, int32_t y) {
        GameState& g = game_state();
        g.mouse_x = x;
        g.mouse_y = y;
        g.mouse_left = 1;
        game::play_input();
    }

    static void press_fragment(const std::string& fragment) {
        GameState& g = game_state();
        for (int32_t i = 1; i <= game::kTileCount; ++i) {
            if (g.tiles(i) == fragment.c_str()) {
                press_in_frame(static_cast<int32_t>(g.tile_positions(i, 1)) + 40,
                               static_cast<int32_t>(g.tile_positions(i, 2)) + 20);
                return;
            }
        }
        ADD_FAILURE() << "no tile holds " << fragment;
    }
};

TEST_F(GameScreensTest, PlayScreenDrawsRulesFragmentsAndAssembledTextWhereTheLayoutSays) {
    GameFolder folder;
    prepare_round();
    GameState& g = game_state();
    const std::vector<uint32_t> dealt = drawn_play_screen();
    for (int32_t w = 1; w <= 7; ++w) {
        for (int x : {156, 237, 319}) EXPECT_EQ(dealt[(80 + 28 * w) * 480 + x], 0x505050u) << w;
    }

    // Each fragment is centred on its tile, its text starting 11 below the tile's top.
    StringArray kept = g.tiles;
    for (int32_t i = 1; i <= 20; ++i) g.tiles(i) = RtString();
    const std::vector<uint32_t> no_tiles = drawn_play_screen();
    for (int32_t i = 1; i <= 20; ++i) {
        const int x = static_cast<int>(g.tile_positions(i, 1)), y = static_cast<int>(g.tile_positions(i, 2));
        const Box text = changed_pixels(dealt, no_tiles, x, y, x + 83, y + 44);
        ASSERT_FALSE(text.empty()) << "tile " << i;
        EXPECT_NEAR((text.x0 + text.x1) / 2.0, x + 42, 3) << "tile " << i << " " << kept(i).c_str();
        EXPECT_GE(text.y0, y + 11) << "tile " << i;
    }

    // The assembled text is centred on the play area at y = 588.
    g.picked_texts(0) = "STRAWBERRY";
    const std::vector<uint32_t> assembled = drawn_play_screen();
    const Box text = changed_pixels(assembled, no_tiles, 0, 560, 479, 639);
    ASSERT_FALSE(text.empty());
    EXPECT_NEAR((text.x0 + text.x1) / 2.0, 240, 3);
    EXPECT_GE(text.y0, 588);
}

TEST_F(GameScreensTest, MissingMediaLeaveEmptySlotsAndTheBuiltInFont) {
    GameFolder folder;
    for (const char* name : {"good.png", "mint.png", "back9.jpg"}) fs::remove(folder.media() / name);
    fs::remove(folder.media() / "3.wav");
    GameState& g = game_state();
    game::reset_game_state(g);
    set_current_directory("Media");
    game::load_media();
    int32_t w = 0, h = 0;
    get_sprite_size(89, w, h);
    EXPECT_EQ(w, 0);
    get_sprite_size(9, w, h);
    EXPECT_EQ(w, 0);
    get_sprite_size(10, w, h);
    EXPECT_EQ(w, 480) << "options.jpg is there";
    EXPECT_EQ(play_sound(3, 0, 1), -1);
    EXPECT_GE(play_sound(4, 0, 1), 4 * 256);
    set_font(5);
    EXPECT_GT(text_width("AB", 1), 0) << "the built-in font stands in";
    draw_sprite(89, 63, 70);  // draws nothing, and goes on
}

TEST_F(GameScreensTest, SoundSwitchMusicAndInformationPage) {
    GameFolder folder;
    {
        std::ofstream(folder.media() / "music.wav", std::ios::binary) << long_wave();
    }
    ScriptedPlayer player;
    GameState& g = game_state();
    constexpr int32_t kSoundX = 455, kSoundY = 615;

    player.wait_until("options screen", [&] { return g.screen_state == 1 && player.frames() > 2; });
    player.then("music with sound on", [&] {
        EXPECT_EQ(g.sound_volume, 1);
        EXPECT_EQ(music_playing(), 1);
    });
    player.click(kSoundX, kSoundY, "sound off");
    player.then("sound off", [&] {
        EXPECT_EQ(g.sound_volume, 0);
        EXPECT_EQ(music_playing(), 0);
    });
    player.click(150, 390, "play area");
    player.wait_until("round selection", [&] { return g.screen_state == 2; });
    player.click(25, 25, "back");
    player.wait_until("options again", [&] { return g.screen_state == 1; });
    player.then("no music on return with sound off", [&] { EXPECT_EQ(music_playing(), 0); });
    player.click(kSoundX, kSoundY, "sound on");
    player.then("sound on starts the music at once", [&] {
        EXPECT_EQ(g.sound_volume, 1);
        EXPECT_EQ(music_playing(), 1);
        set_font(0);
    });

    // The information page selects font 1 for its text; the options screen never
    // selects a font, so font 1 shows that the page is up.
    int64_t page_frames = 0;
    player.click(25, 615, "information button");
    player.wait_until("information page", [&] { return graphics_device()->fonts.current == 1; });
    player.then("page frames start", [&] { page_frames = player.frames(); });
    player.wait_until("a few page frames", [&] { return player.frames() > page_frames + 10; });
    player.click(25, 25, "back from the page");
    player.then("the options screen stays", [&] { EXPECT_EQ(g.screen_state, 1); });
    player.click(150, 390, "play area");
    player.wait_until("round selection from the options screen", [&] { return g.screen_state == 2; });

    EXPECT_TRUE(player.play()) << "stuck at: " << player.stuck_at();
}

// The strip between the undo and check buttons, where the assembled text is drawn.
constexpr Box kStrip{115, 576, 364, 639};

bool inside(const Box& box, const Box& area) {
    return box.x0 >= area.x0 && box.y0 >= area.y0 && box.x1 <= area.x1 && box.y1 <= area.y1;
}

// Draws the frames of a shake. Each may differ from `still` (the screen the shake
// settles to) inside the strip only; the strip's text is found against `bare` (the
// same screen with an empty strip), and its shift from `text_left` (where it starts
// unshaken) is returned per frame.
std::vector<int> shake_frames(const std::vector<uint32_t>& still, const std::vector<uint32_t>& bare,
                              int text_left) {
    std::vector<int> shifts;
    while (game_state().strip_shake > 0 && shifts.size() < 100) {
        glClear(GL_COLOR_BUFFER_BIT);
        game::draw_play_screen();
        const std::vector<uint32_t> frame = grab_frame();
        const Box whole = changed_pixels(frame, still, 0, 0, 479, 639);
        EXPECT_TRUE(whole.empty() || inside(whole, kStrip))
            << "frame " << shifts.size() << " changed " << whole.x0 << "," << whole.y0 << " to "
            << whole.x1 << "," << whole.y1;
        const Box text = changed_pixels(frame, bare, kStrip.x0, kStrip.y0, kStrip.x1, kStrip.y1);
        EXPECT_FALSE(text.empty()) << "frame " << shifts.size() << " shows the strip's text";
        shifts.push_back(text.x0 - text_left);
    }
    return shifts;
}

// A quarter of a second at 60 frames a second, swinging both ways, settling.
void expect_calm_shake(const std::vector<int>& shifts) {
    ASSERT_EQ(shifts.size(), 15u);
    int widest = 0, turns = 0, last_side = 0;
    for (int dx : shifts) {
        widest = std::max(widest, std::abs(dx));
        const int side = (dx > 0) - (dx < 0);
        if (side != 0 && side != last_side) {
            if (last_side != 0) ++turns;
            last_side = side;
        }
    }
    EXPECT_GE(widest, 4) << "a shake that shows";
    EXPECT_LE(widest, 10) << "a calm one";
    EXPECT_GE(turns, 4) << "swings to and fro";
    EXPECT_LE(std::abs(shifts.back()), 1) << "and settles";
}

TEST_F(GameScreensTest, AWrongWordAndARefusedPickShakeTheAssemblyStripAndNothingElse) {
    GameFolder folder;
    prepare_round();
    GameState& g = game_state();
    constexpr int32_t kCheckX = 410, kCheckY = 600;

    // Where the refused word's text starts when it stands still.
    const std::vector<uint32_t> calm = drawn_play_screen();
    g.picked_texts(0) = "MONLE";
    const int monle_left = changed_pixels(drawn_play_screen(), calm, kStrip.x0, kStrip.y0, kStrip.x1,
                                          kStrip.y1).x0;
    g.picked_texts(0) = RtString();

    // A wrong word: its fragments go back at once, the word itself shakes in the
    // strip for 15 frames and is gone.
    press_fragment("MON");
    press_fragment("LE");
    press_in_frame(kCheckX, kCheckY);
    EXPECT_EQ(g.picked_count, 0);
    EXPECT_STREQ(g.picked_texts(0).c_str(), "");
    expect_calm_shake(shake_frames(calm, calm, monle_left));
    EXPECT_TRUE(changed_pixels(drawn_play_screen(), calm, 0, 0, 479, 639).empty());

    // A new pick ends a shake at once.
    press_fragment("MON");
    press_fragment("LE");
    press_in_frame(kCheckX, kCheckY);
    press_fragment("PL");
    EXPECT_EQ(g.strip_shake, 0);
    press_in_frame(60, 600);  // undo

    // A refused fifth pick: the four picked fragments shake where they stand.
    for (const std::string& f : fragments_in_order("STRAWBERRY")) press_fragment(f);
    const std::vector<uint32_t> four = drawn_play_screen();
    g.picked_texts(0) = RtString();
    const std::vector<uint32_t> four_bare = drawn_play_screen();
    g.picked_texts(0) = "STRAWBERRY";
    const int strawberry_left =
        changed_pixels(four, four_bare, kStrip.x0, kStrip.y0, kStrip.x1, kStrip.y1).x0;
    press_fragment("KI");
    EXPECT_EQ(g.picked_count, 4);
    EXPECT_STREQ(g.picked_texts(0).c_str(), "STRAWBERRY");
    expect_calm_shake(shake_frames(four, four_bare, strawberry_left));
    EXPECT_TRUE(changed_pixels(drawn_play_screen(), four, 0, 0, 479, 639).empty());
}

// Every button of every screen, each pressed and released within one frame (as a
// touchpad's tap-to-click does), through the real event queue: the game must answer
// each one. A tap the game loses leaves the script stuck at that button.
TEST_F(GameScreensTest, EveryButtonOfEveryScreenAnswersATap) {
    GameState& g = game_state();
    constexpr int32_t kInfoX = 25, kInfoY = 615, kSoundX = 455, kSoundY = 615;
    constexpr int32_t kBackX = 25, kBackY = 25, kCloseX = 455, kCloseY = 25;
    constexpr int32_t kCheckX = 410, kCheckY = 600, kUndoX = 60, kUndoY = 600;
    // The centre of round n's button: column c, row k for n = c + 5k.
    const auto round_x = [](int32_t n) { return 85 * ((n - 1) % 5 + 1) - 15; };
    const auto round_y = [](int32_t n) { return 149 + 50 * ((n - 1) / 5); };
    const auto state_is = [&](double s) { return [&g, s] { return g.screen_state == s; }; };
    const auto tile_of = [&](const std::string& fragment) {
        for (int32_t i = 1; i <= game::kTileCount; ++i) {
            if (g.tiles(i) == fragment.c_str()) return i;
        }
        return 0;
    };
    const auto picked = [&](const std::string& fragment) {
        return [&g, fragment] {
            const auto last = static_cast<int32_t>(g.picked_count);
            return last > 0 && g.picked_texts(last) == fragment.c_str();
        };
    };

    {
        GameFolder folder;
        ScriptedPlayer player;
        player.wait_until("options screen", [&] { return g.screen_state == 1 && player.frames() > 2; });
        // Options screen: sound off and on, the information page and its back
        // button, the play area.
        player.tap(kSoundX, kSoundY, "sound off", [&] { return g.sound_volume == 0; });
        player.tap(kSoundX, kSoundY, "sound on", [&] { return g.sound_volume == 1; });
        player.then("no font chosen", [] { set_font(0); });
        player.tap(kInfoX, kInfoY, "information", [] { return graphics_device()->fonts.current == 1; });
        int64_t mark = 0;
        player.then("on the page", [&] { mark = player.frames(); });
        // Nothing on the page shows it is left but the options screen answering again.
        player.tap(kBackX, kBackY, "back from the information page",
                   [&] { return player.frames() > mark + 3; });
        player.tap(150, 390, "play area (the options screen is back)", state_is(2));

        // Round 1 played with taps only: every tile, a wrong word, undo, a refused
        // fifth pick, the check button for every word.
        player.tap(round_x(1), round_y(1), "round 1",
                   [&] { return g.screen_state == 3 && g.chosen_round == 1; });
        player.tap_fragment("MON", picked("MON"));
        player.tap_fragment("LE", picked("LE"));
        player.tap(kCheckX, kCheckY, "check a wrong word", [&] { return g.picked_count == 0; });
        player.then("the strip shakes", [&] {
            EXPECT_GT(g.strip_shake, 0);
            mark = player.frames();
        });
        player.wait_until("the shake is over", [&] { return g.strip_shake == 0; });
        player.then("a quarter of a second", [&] { EXPECT_NEAR(player.frames() - mark, 15, 1); });
        player.tap_fragment("PL", picked("PL"));
        player.tap(kUndoX, kUndoY, "undo", [&] { return g.picked_count == 0 && tile_of("PL") != 0; });
        for (const std::string& f : fragments_in_order("STRAWBERRY")) player.tap_fragment(f, picked(f));
        player.tap_fragment("KI", [&] { return g.strip_shake > 0; });
        player.then("the fifth pick refused", [&] {
            EXPECT_EQ(g.picked_count, 4);
            EXPECT_NE(tile_of("KI"), 0);
        });
        for (size_t w = 0; w < 7; ++w) {
            const std::string& word = kRoundOne.words[w];
            if (w > 0) {
                for (const std::string& f : fragments_in_order(word)) player.tap_fragment(f, picked(f));
            }
            player.tap(kCheckX, kCheckY, "check " + word,
                       [&g, w] { return g.found_count == static_cast<double>(w + 1); });
        }
        player.then("every tile used", [&] {
            for (int32_t i = 1; i <= game::kTileCount; ++i) EXPECT_STREQ(g.tiles(i).c_str(), "") << i;
        });

        // The banner takes no input: a tap on it is not carried over to the round
        // selection underneath, where it would choose round 7.
        player.wait_until("the banner", state_is(5));
        player.tap(round_x(7), round_y(7), "tap on the banner", [&] { return true; });
        player.wait_until("round selection after the banner", state_is(2));
        player.then("came", [&] { mark = player.frames(); });
        player.wait_until("a few frames", [&] { return player.frames() > mark + 5; });
        player.then("no round chosen by the banner's tap", [&] {
            EXPECT_EQ(g.screen_state, 2);
            EXPECT_EQ(g.progress(1), 1);
        });

        // Every round button, and the play screen's back button each time.
        for (int32_t n = 2; n <= 50; ++n) {
            player.tap(round_x(n), round_y(n), "round " + std::to_string(n),
                       [&g, n] { return g.screen_state == 3 && g.chosen_round == n; });
            player.tap(kBackX, kBackY, "back from round " + std::to_string(n), state_is(2));
        }
        // Round selection's back button, the reset area, and the close button of the
        // options screen.
        player.tap(kBackX, kBackY, "back to the options screen", state_is(1));
        player.tap(340, 370, "reset area", [&] { return g.screen_state == 2 && g.progress(1) == 0; });
        player.tap(kBackX, kBackY, "back to the options screen again", state_is(1));
        player.tap(kCloseX, kCloseY, "close on the options screen", farewell_showing);
        EXPECT_TRUE(player.play()) << "stuck at: " << player.stuck_at();
    }

    // The close buttons of the other screens: each ends a game of its own.
    struct CloseFrom {
        const char* screen;
        std::vector<std::pair<int32_t, int32_t>> taps_there;  // each answered by a screen change
    };
    const CloseFrom closes[] = {
        {"information page", {}},
        {"round selection", {{150, 390}}},
        {"play screen", {{150, 390}, {round_x(1), round_y(1)}}},
    };
    for (const CloseFrom& close : closes) {
        GameFolder folder;
        ScriptedPlayer player;
        player.wait_until("options screen", [&] { return g.screen_state == 1 && player.frames() > 2; });
        if (close.taps_there.empty()) {
            player.then("no font chosen", [] { set_font(0); });
            player.tap(kInfoX, kInfoY, "information", [] { return graphics_device()->fonts.current == 1; });
        }
        double next = 2;
        for (const auto& [x, y] : close.taps_there) {
            player.tap(x, y, std::string("on the way to the ") + close.screen, state_is(next));
            next = next + 1;
        }
        player.tap(kCloseX, kCloseY, std::string("close on the ") + close.screen, farewell_showing);
        EXPECT_TRUE(player.play()) << close.screen << ": stuck at: " << player.stuck_at();
    }
}

}  // namespace
}  // namespace tvk::game_test
