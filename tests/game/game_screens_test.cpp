// The screens drawn for real on a headless context, missing media, and the
// options screen's sound switch and information page played through the event queue.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
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

}  // namespace
}  // namespace tvk::game_test
