// A Media folder in which every picture, font, sound and music file the game loads
// is damaged — all empty, all cut short, all garbage behind the right signature —
// and the game still starts, shows its screens and plays a whole round: the
// sprite and sound slots stay empty, the fonts fall back to the built-in one, an
// empty music file does not play, and the won round is saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "game/fragment_cuts.h"
#include "game/game_fixture.h"
#include "game/media_table.h"
#include "game/start_loading.h"
#include "runtime/audio/music.h"
#include "runtime/audio/sound_commands.h"
#include "runtime/gfx/font_table.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/gfx/text_commands.h"

namespace tvk::game_test {
namespace {

namespace fs = std::filesystem;
using game::GameState;
using game::game_state;

enum class Damage { empty, cut_short, garbage };

std::string name_of(Damage d) {
    switch (d) {
        case Damage::empty: return "Empty";
        case Damage::cut_short: return "CutShort";
        case Damage::garbage: return "Garbage";
    }
    return "";
}

void PrintTo(Damage d, std::ostream* out) { *out << name_of(d); }

std::string extension_of(const std::string& file) { return fs::path(file).extension().string(); }

// The first bytes a reader looks at to recognise each kind of file.
std::string signature_of(const std::string& file) {
    const std::string ext = extension_of(file);
    if (ext == ".png") return std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    if (ext == ".jpg") return std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11);
    if (ext == ".wav") return std::string("RIFF\x24\x10\0\0WAVEfmt \x10\0\0\0", 20);
    if (ext == ".ogg") return "OggS";
    return "";
}

// The good file of this name: the game's own picture or font, the fixture's sound.
std::string good_file(const std::string& file) {
    if (extension_of(file) == ".wav") return long_wave();
    std::ifstream in(fs::path(TAVRICK_TEST_SOURCE_DIR) / ".." / "game" / "media" / file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string damaged(const std::string& file, Damage d, std::mt19937& random) {
    switch (d) {
        case Damage::empty: return "";
        case Damage::cut_short: {
            const std::string good = good_file(file);
            return good.substr(0, good.size() / 2);
        }
        case Damage::garbage: {
            std::string bytes = signature_of(file);
            std::uniform_int_distribution<int> byte(0, 255);
            for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(byte(random));
            return bytes;
        }
    }
    return "";
}

// Every media file the game loads, the two music files among them.
std::vector<std::string> media_files() {
    std::vector<std::string> files{"music.wav", "music.ogg"};
    for (const game::MediaEntry& entry : game::media_table()) files.push_back(entry.file);
    return files;
}

class DamagedMediaTest : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedMediaTest, GameStartsAndPlaysARoundWithEmptySlotsAndTheBuiltInFont) {
    std::string why;
    ASSERT_TRUE(start_runtime_once(why)) << why;
    GameFolder folder;
    std::mt19937 random(20261210);
    for (const std::string& file : media_files()) {
        const std::string bytes = damaged(file, GetParam(), random);
        if (GetParam() == Damage::cut_short) {
            ASSERT_FALSE(bytes.empty()) << file;
        }
        std::ofstream(folder.media() / file, std::ios::binary) << bytes;
    }

    ScriptedPlayer player;
    GameState& g = game_state();
    // The options screen loads the media one piece a frame: by then every piece is in.
    const auto pieces = static_cast<int64_t>(game::media_table().size()) + 1;
    player.wait_until("options screen", [&] { return g.screen_state == 1 && player.frames() > pieces + 1; });
    player.then("every slot empty, every font the built-in one", [&] {
        // The options screen loads the rest one piece a frame; the game finishes that
        // before any other screen, as here.
        game::finish_loading();
        int32_t builtin_width = 0;
        for (const game::MediaEntry& entry : game::media_table()) {
            if (entry.kind == game::MediaKind::sprite) {
                int32_t w = -1, h = -1;
                get_sprite_size(entry.slot, w, h);
                EXPECT_EQ(w, 0) << entry.file;
                EXPECT_EQ(h, 0) << entry.file;
            } else if (entry.kind == game::MediaKind::sound) {
                EXPECT_EQ(play_sound(entry.slot, 0, 1), -1) << entry.file;
            } else {
                set_font(entry.slot);
                const int32_t width = text_width("SPLIT", 1);
                EXPECT_GT(width, 0) << entry.file;
                if (builtin_width == 0) builtin_width = width;
                EXPECT_EQ(width, builtin_width) << entry.file << " is not the font of the others";
            }
        }
        // An empty piece cannot play; what the music library makes of a cut or
        // garbled one (silence, noise, the part that is there) is its own affair.
        if (GetParam() == Damage::empty) {
            EXPECT_EQ(music_playing(), 0);
        }
    });

    // The sound switch turns the music off and on again (trying the damaged file).
    player.click(455, 615, "sound off");
    player.wait_until("sound off", [&] { return g.sound_volume == 0; });
    player.click(455, 615, "sound on");
    player.wait_until("sound on", [&] { return g.sound_volume == 1; });
    player.click(150, 390, "play area");
    player.wait_until("round selection", [&] { return g.screen_state == 2; });
    player.click(60, 145, "round 1");
    player.wait_until("round 1 dealt", [&] { return g.screen_state == 3 && !g.tiles(1).empty(); });
    for (const std::string& word : kRoundOne.words) {
        for (const std::string& f : fragments_in_order(word)) player.click_fragment(f);
        player.click(410, 600, "check " + word);
    }
    player.wait_until("banner", [&] { return g.screen_state == 5; });
    player.wait_until("round selection after the banner", [&] { return g.screen_state == 2; });
    player.then("round 1 saved", [&] {
        EXPECT_EQ(g.found_count, 7);
        EXPECT_EQ(g.progress(1), 1);
        EXPECT_EQ(decipher_progress(folder.read_media("moredata.txt")), "01" + std::string(49, '0'));
    });
    player.click(25, 25, "back to options");
    player.wait_until("options screen again", [&] { return g.screen_state == 1; });

    EXPECT_TRUE(player.play()) << "stuck at: " << player.stuck_at();
}

INSTANTIATE_TEST_SUITE_P(EveryFile, DamagedMediaTest,
                         ::testing::Values(Damage::empty, Damage::cut_short, Damage::garbage),
                         [](const ::testing::TestParamInfo<Damage>& info) { return name_of(info.param); });

}  // namespace
}  // namespace tvk::game_test
